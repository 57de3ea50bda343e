#include "views/Common/BeamSpeakerItem.h"

#include "core/Logger/OmbraxLogger.h"

namespace zorvpro
{
namespace
{
struct ItemRow
{
    std::uint32_t value;
    const char* name;
};

#define ZORV_BEAM_SPEAKER_ITEM_ROW(name) {static_cast<std::uint32_t>(BeamSpeakerItem::name), #name},
// Closed by a row without a name, where both walks stop.
constexpr ItemRow kItemRows[] = {ZORV_BEAM_SPEAKER_ITEMS(ZORV_BEAM_SPEAKER_ITEM_ROW){0xFFFFFFFFu, nullptr}};
#undef ZORV_BEAM_SPEAKER_ITEM_ROW

static_assert(sizeof(kItemRows) / sizeof(kItemRows[0]) == kBeamSpeakerItemCount + 1,
              "the item table must hold every item and its closing row");
} // namespace

BeamSpeakerItem beamSpeakerItemFromName(const QString& name)
{
    for (const ItemRow* row = kItemRows; row->name != nullptr; ++row)
    {
        if (name == QLatin1String(row->name))
            return static_cast<BeamSpeakerItem>(row->value);
    }
    OmbraxLogger::Log(LogLevel::Error, QStringLiteral("Error: unknown beam speaker item name %1").arg(name));
    return kUnknownBeamSpeakerItem;
}

QString beamSpeakerItemName(BeamSpeakerItem item)
{
    const auto value = static_cast<std::uint32_t>(item);
    for (const ItemRow* row = kItemRows; row->name != nullptr; ++row)
    {
        if (row->value == value)
            return QString::fromLatin1(row->name);
    }
    OmbraxLogger::Log(LogLevel::Error, QStringLiteral("Error: unknown beam speaker item %1").arg(value));
    return QString();
}
} // namespace zorvpro
