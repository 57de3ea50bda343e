#include "data/Settings/Vocabulary.h"

#include <stdexcept>

namespace zorvpro::Vocabulary
{
namespace
{
constexpr bool KindsFollowTheirRows()
{
    for (std::size_t i = 0; i < kUnitLabels.size(); ++i)
        if (kUnitLabels[i].kind != i + 1)
            return false;
    return true;
}
static_assert(KindsFollowTheirRows(), "unit labels are looked up by kind minus one");
} // namespace

QString UnitLabel(std::uint32_t kind, int setting)
{
    if (kind < 1 || kind > kUnitLabels.size())
        throw std::out_of_range("invalid map<K, T> key");
    if (setting != 0 && setting != 1)
        throw std::out_of_range("invalid vector subscript");
    const UnitLabels& labels = kUnitLabels[kind - 1];
    return QString::fromUtf16(setting == 0 ? labels.metric : labels.imperial);
}
} // namespace zorvpro::Vocabulary
