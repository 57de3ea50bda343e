#include "acoustics/data/LoudspeakerImpl.h"

#include <algorithm>

namespace zorvpro::acoustics
{
namespace
{

void PrepareEqMap(EQDataMap& map)
{
    map.max_load_factor(1.0f);
    map.rehash(8);
}

} // namespace

LoudspeakerImpl::LoudspeakerImpl()
{
    PrepareEqMap(eqData);
}

LoudspeakerImpl::LoudspeakerImpl(const LoudspeakerImpl& model)
    : Node(), Placement(), HardwareComponent(), Loudspeaker(), HardwareComponentImpl(model),
      polars(model.polars), muted(model.muted), maxBeams(model.maxBeams), algorithms(model.algorithms)
{
    PrepareEqMap(eqData);
    for (const auto& [code, table] : model.eqData)
        eqData.emplace(code, table);
    // The copies are detached from the model's tree: the Node copy would
    // share the model's (empty) child list and parent, so each starts fresh
    // and only its placement and data are taken over.
    for (const auto& t : model.transformers)
        transformers.push_back(
            std::make_shared<Transformer>(t->getName(), t->getTransformerId(), t->getTap()));
    for (const auto& t : model.transducers)
        transducers.push_back(std::make_shared<Transducer>(*t));
    assemble();
}

uint32_t LoudspeakerImpl::getIndex() const
{
    ScopedLock guard(lock);
    return index;
}

void LoudspeakerImpl::setIndex(uint32_t i)
{
    ScopedLock guard(lock);
    index = i;
}

void LoudspeakerImpl::setMuted(bool m)
{
    ScopedLock guard(lock);
    muted = m;
}

bool LoudspeakerImpl::isMuted() const
{
    ScopedLock guard(lock);
    return muted;
}

void LoudspeakerImpl::toggleMuted()
{
    ScopedLock guard(lock);
    setMuted(!isMuted());
}

void LoudspeakerImpl::setAlgorithms(std::vector<int32_t> codes)
{
    std::sort(codes.begin(), codes.end());
    algorithms = std::move(codes);
}

std::shared_ptr<IEQData> LoudspeakerImpl::getEQData(int32_t algorithm) const
{
    const auto it = eqData.find(algorithm);
    return it == eqData.end() ? nullptr : it->second;
}

int LoudspeakerImpl::setParts(PolarList newPolars, TransducerList newTransducers,
                              TransformerList newTransformers)
{
    if (newPolars.empty() || newTransducers.empty() || newTransformers.empty())
        return 0;
    std::stable_sort(newPolars.begin(), newPolars.end(),
                     [](const auto& a, const auto& b) { return a->getPolarId() < b->getPolarId(); });
    std::stable_sort(newTransducers.begin(), newTransducers.end(),
                     [](const auto& a, const auto& b) { return a->getIndex() < b->getIndex(); });
    std::stable_sort(newTransformers.begin(), newTransformers.end(),
                     [](const auto& a, const auto& b)
                     { return a->getTransformerId() < b->getTransformerId(); });
    polars = std::move(newPolars);
    transducers = std::move(newTransducers);
    transformers = std::move(newTransformers);
    return 1;
}

bool LoudspeakerImpl::assemble()
{
    if (assembled != 0 || polars.empty() || transducers.empty() || transformers.empty())
        return false;
    assembled = 1;
    for (const auto& t : transformers)
        addChild(t);
    for (const auto& t : transducers)
    {
        const auto polar = std::find_if(polars.begin(), polars.end(),
                                        [&](const auto& p) { return p->getPolarId() == t->getPolarId(); });
        const auto transformer =
            std::find_if(transformers.begin(), transformers.end(),
                         [&](const auto& x) { return x->getTransformerId() == t->getTransformerId(); });
        if (polar == polars.end() || transformer == transformers.end())
            return false;
        t->setPolar(*polar);
        (*transformer)->addChild(t);
        moveByModelMatrix(*t);
    }
    return true;
}

} // namespace zorvpro::acoustics
