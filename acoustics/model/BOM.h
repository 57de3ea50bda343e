#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorvpro::acoustics
{

// One orderable item of a bill of materials.
class BOMInfo
{
public:
    BOMInfo() = default;
    BOMInfo(std::string item, std::string sku, std::string description);
    BOMInfo(const BOMInfo&) = default;
    BOMInfo(BOMInfo&&) = default;
    BOMInfo& operator=(const BOMInfo&) = default;
    BOMInfo& operator=(BOMInfo&&) = default;
    virtual ~BOMInfo() = default;

    // Same item, SKU and description, byte for byte; quantity plays no part.
    bool isSameLine(const BOMInfo& other) const;

    std::string item;
    std::string sku;
    std::string description;
    uint32_t quantity = 1;
};

// Lines in the order first met; equal lines are merged by quantity.
class BOM
{
public:
    BOM() = default;
    BOM(const BOM&) = default;
    BOM& operator=(const BOM&) = default;
    virtual ~BOM() = default;

    void add(const BOMInfo& line);
    void append(const BOM& other);
    // The line at index, or a shared empty line (quantity 1) past the end.
    const BOMInfo& at(uint32_t index) const;
    uint32_t count() const { return static_cast<uint32_t>(lines.size()); }
    void clear() { lines.clear(); }

private:
    std::vector<BOMInfo> lines;
};

} // namespace zorvpro::acoustics
