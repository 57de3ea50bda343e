#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zorvpro::layers
{
// One source entry of a layer: a folder ("src/views/Render"), a file
// ("src/main.cpp") or a file pattern ("src/views/Tabs/*/*Tab.*").
struct LayerEntry
{
    std::string source;
    int layer = 0;
};

// The program's layers, lowest first, as the README's layer table lists them.
struct LayerTable
{
    std::vector<std::string> names;
    std::vector<LayerEntry> entries;
};

// Reads the table whose header row starts with "| layer |" in the README's
// "## Layout" section; empty when there is none.
LayerTable ReadLayerTable(const std::string& readme);

// The layer of a path relative to the project root: that of its most specific
// entry (a file pattern before a folder, a deeper folder before a shallower
// one); -1 when no entry covers it.
int LayerOf(const LayerTable& table, const std::string& path);

// Every quoted include of the program's sources (the top folders the table
// names) that points to a higher layer, outside the program or nowhere, or
// that reaches a file outside src/ only through the src/ include root; each
// as "file:line: what". Sorted by file.
std::vector<std::string> CheckIncludes(const std::filesystem::path& root, const LayerTable& table);
} // namespace zorvpro::layers
