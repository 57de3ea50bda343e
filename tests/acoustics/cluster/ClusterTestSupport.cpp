#include "ClusterTestSupport.h"

#include "tools/datagen/LoadGenerated.h"

#include <algorithm>
#include <stdexcept>

namespace zorvpro::acoustics::testing
{

namespace
{

std::shared_ptr<LoudspeakerImpl> loadGenerated(const datagen::DataSet& set)
{
    auto model = datagen::LoadGenerated(set);
    if (!model)
        throw std::runtime_error("generated data set " + set.fileName + " did not load");
    return model;
}

datagen::DataSet flatPointSourceDataSet(float levelFactor)
{
    datagen::ModelFile m = datagen::PointSourceModelFile();
    for (datagen::PolarRecord& polar : m.polars)
    {
        polar.bands[1].assign(datagen::kBandCount, static_cast<float>(kFlatSourceLevel));
        std::fill(polar.magnitudes.begin(), polar.magnitudes.end(), 0.0f);
        std::fill(polar.phases.begin(), polar.phases.end(), 0.0f);
    }
    for (datagen::TransducerRecord& transducer : m.transducers)
        transducer.levelFactor = levelFactor;
    datagen::Descriptor d = datagen::PointSourceDescriptor();
    d.connections = {{datagen::kPointSourceName, "below", "0", "0", "0", "0", "0", "-0.4"}};
    return datagen::Assemble(levelFactor == 0.0f ? "TQP8silent.vxq" : "TQP8flat.vxq", d, m);
}

} // namespace

std::shared_ptr<LoudspeakerImpl> makeArrayModule()
{
    static const std::shared_ptr<LoudspeakerImpl> model = loadGenerated(datagen::MakeArrayDataSet());
    return std::make_shared<LoudspeakerImpl>(*model);
}

std::shared_ptr<LoudspeakerImpl> makeFlatPointSource(bool silent)
{
    static const std::shared_ptr<LoudspeakerImpl> flat = loadGenerated(flatPointSourceDataSet(1.0f));
    static const std::shared_ptr<LoudspeakerImpl> zeroFactor = loadGenerated(flatPointSourceDataSet(0.0f));
    return std::make_shared<LoudspeakerImpl>(silent ? *zeroFactor : *flat);
}

void CodeRecorder::propChanged(uint32_t code)
{
    std::lock_guard<std::mutex> lock(mutex);
    received.push_back(code);
}

size_t CodeRecorder::count(uint32_t code) const
{
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<size_t>(std::count(received.begin(), received.end(), code));
}

std::vector<uint32_t> CodeRecorder::codes() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return received;
}

void CodeRecorder::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    received.clear();
}

} // namespace zorvpro::acoustics::testing
