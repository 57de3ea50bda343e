#include "acoustics/model/BOM.h"

namespace zorvpro::acoustics
{

BOMInfo::BOMInfo(std::string item_, std::string sku_, std::string description_)
    : item(std::move(item_)), sku(std::move(sku_)), description(std::move(description_))
{
}

bool BOMInfo::isSameLine(const BOMInfo& other) const
{
    return item == other.item && sku == other.sku && description == other.description;
}

void BOM::add(const BOMInfo& line)
{
    for (auto& existing : lines)
    {
        if (existing.isSameLine(line))
        {
            existing.quantity += line.quantity;
            return;
        }
    }
    lines.push_back(line);
}

void BOM::append(const BOM& other)
{
    if (&other == this)
        return;
    for (uint32_t i = 0; i < other.count(); ++i)
        add(other.at(i));
}

const BOMInfo& BOM::at(uint32_t index) const
{
    static const BOMInfo empty;
    return index < lines.size() ? lines[index] : empty;
}

} // namespace zorvpro::acoustics
