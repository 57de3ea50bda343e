#pragma once

#include "acoustics/data/EQData.h"
#include "acoustics/data/HardwareComponentImpl.h"
#include "acoustics/data/Loudspeaker.h"
#include "acoustics/data/Transducer.h"
#include "acoustics/data/Transformer.h"
#include "acoustics/model/Polar.h"
#include "acoustics/model/RecursiveMutex.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace zorvpro::acoustics
{

using EQDataMap = std::unordered_map<int32_t, std::shared_ptr<IEQData>>;

// A loudspeaker model as read from a data set, or an assembled copy of one
// placed by the user. Always held by std::shared_ptr.
class LoudspeakerImpl : public virtual Loudspeaker, public virtual HardwareComponentImpl
{
public:
    using PolarList = std::vector<std::shared_ptr<Polar>>;
    using TransducerList = std::vector<std::shared_ptr<Transducer>>;
    using TransformerList = std::vector<std::shared_ptr<Transformer>>;

    LoudspeakerImpl();
    // An assembled copy of a model: component data, mute switch, beams and
    // EQ data copied; transformers and transducers deep-copied; directivity
    // records and EQ tables shared; index 0.
    LoudspeakerImpl(const LoudspeakerImpl& model);
    LoudspeakerImpl& operator=(const LoudspeakerImpl&) = delete;
    ~LoudspeakerImpl() override = default;

    uint32_t getIndex() const override;
    void setMuted(bool muted) override;
    bool isMuted() const override;
    void toggleMuted() override;
    bool isSteerable() const override { return maxBeams != 0; }
    uint32_t getMaxBeams() const override { return maxBeams; }
    const std::vector<int32_t>& getAlgorithms() const override { return algorithms; }

    // Written by the owning cluster when it renumbers its members.
    void setIndex(uint32_t index);

    // Stores the three lists sorted by id (polars, transformers) and index
    // (transducers); 1 on success, 0 and nothing stored when any is empty.
    int setParts(PolarList polars, TransducerList transducers, TransformerList transformers);
    // Links transformers under the loudspeaker's node, each transducer under
    // its transformer with its directivity record, and moves the transducers
    // into the component frame. Runs once; true when it linked everything.
    bool assemble();
    bool isAssembled() const { return assembled != 0; }

    void setMaxBeams(uint32_t beams) { maxBeams = beams; }
    void setAlgorithms(std::vector<int32_t> codes);
    void setEQData(EQDataMap data) { eqData = std::move(data); }

    const PolarList& getPolars() const { return polars; }
    const TransducerList& getTransducers() const { return transducers; }
    const TransformerList& getTransformers() const { return transformers; }
    const EQDataMap& getEQData() const { return eqData; }
    // The EQ table of an algorithm; empty when the data set has none.
    std::shared_ptr<IEQData> getEQData(int32_t algorithm) const;

private:
    mutable RecursiveTimedMutex lock;
    PolarList polars;
    TransformerList transformers;
    TransducerList transducers;
    uint32_t assembled = 0;
    uint32_t index = 0;
    bool muted = false;
    uint32_t maxBeams = 0;
    std::vector<int32_t> algorithms;
    EQDataMap eqData;
};

} // namespace zorvpro::acoustics
