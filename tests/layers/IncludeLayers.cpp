#include "IncludeLayers.h"

#include <algorithm>
#include <fnmatch.h>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace zorvpro::layers
{
namespace
{
std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The cells of a Markdown table row "| a | b |".
std::vector<std::string> Cells(const std::string& row)
{
    std::vector<std::string> cells;
    std::stringstream stream(row.substr(row.find('|') + 1));
    std::string cell;
    while (std::getline(stream, cell, '|'))
        cells.push_back(Trim(cell));
    if (!cells.empty() && cells.back().empty())
        cells.pop_back();
    return cells;
}

std::vector<std::string> Quoted(const std::string& cell)
{
    std::vector<std::string> found;
    for (size_t open = cell.find('`'); open != std::string::npos; open = cell.find('`', open + 1))
    {
        const size_t close = cell.find('`', open + 1);
        if (close == std::string::npos)
            break;
        found.push_back(cell.substr(open + 1, close - open - 1));
        open = close;
    }
    return found;
}

bool IsPattern(const std::string& source)
{
    return source.find_first_of("*?[") != std::string::npos;
}

// The quoted include on a line: #include "name", blanks allowed around '#'.
bool QuotedInclude(const std::string& line, std::string& name)
{
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] != '#')
        return false;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line.compare(at, 7, "include") != 0)
        return false;
    at = line.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || line[at] != '"')
        return false;
    const size_t close = line.find('"', at + 1);
    if (close == std::string::npos)
        return false;
    name = line.substr(at + 1, close - at - 1);
    return true;
}

bool IsSource(const fs::path& path)
{
    static const std::set<std::string> kExtensions{".h", ".hpp", ".cpp", ".cc", ".inc"};
    return kExtensions.count(path.extension().string()) != 0;
}

std::string Relative(const fs::path& path, const fs::path& root)
{
    return path.lexically_normal().lexically_relative(root).generic_string();
}

bool IsUnder(const std::string& path, const std::string& folder)
{
    return path == folder || path.compare(0, folder.size() + 1, folder + "/") == 0;
}
} // namespace

LayerTable ReadLayerTable(const std::string& readme)
{
    LayerTable table;
    std::stringstream lines(readme);
    std::string line;
    bool inLayout = false;
    bool inTable = false;
    while (std::getline(lines, line))
    {
        if (line.rfind("## ", 0) == 0)
        {
            inLayout = Trim(line) == "## Layout";
            inTable = false;
            continue;
        }
        if (!inLayout)
            continue;
        const std::string row = Trim(line);
        if (!inTable)
        {
            const std::vector<std::string> header =
                row.rfind('|', 0) == 0 ? Cells(row) : std::vector<std::string>{};
            inTable = !header.empty() && header.front() == "layer" && table.names.empty();
            continue;
        }
        if (row.rfind('|', 0) != 0)
        {
            inTable = false;
            continue;
        }
        const std::vector<std::string> cells = Cells(row);
        if (cells.size() < 2 || cells.front().find_first_not_of("-: ") == std::string::npos)
            continue;
        const int layer = static_cast<int>(table.names.size());
        table.names.push_back(cells[0]);
        for (const std::string& source : Quoted(cells[1]))
            table.entries.push_back({source, layer});
    }
    return table;
}

int LayerOf(const LayerTable& table, const std::string& path)
{
    int layer = -1;
    size_t best = 0; // 1 + folder length for folders; beyond any folder for patterns
    constexpr size_t kPattern = static_cast<size_t>(-1);
    for (const LayerEntry& entry : table.entries)
    {
        size_t rank = 0;
        if (IsPattern(entry.source))
            rank = fnmatch(entry.source.c_str(), path.c_str(), FNM_PATHNAME) == 0 ? kPattern : 0;
        else if (IsUnder(path, entry.source))
            rank = entry.source.size() + 1;
        if (rank > best)
        {
            best = rank;
            layer = entry.layer;
        }
    }
    return layer;
}

std::vector<std::string> CheckIncludes(const fs::path& rootIn, const LayerTable& table)
{
    const fs::path root = fs::absolute(rootIn).lexically_normal();
    std::set<std::string> tops;
    for (const LayerEntry& entry : table.entries)
        tops.insert(entry.source.substr(0, entry.source.find('/')));

    std::vector<std::string> files;
    for (const std::string& top : tops)
    {
        if (!fs::is_directory(root / top))
            continue;
        for (const auto& item : fs::recursive_directory_iterator(root / top))
            if (item.is_regular_file() && IsSource(item.path()))
                files.push_back(Relative(item.path(), root));
    }
    std::sort(files.begin(), files.end());

    const auto inProgram = [&tops](const std::string& path)
    {
        return std::any_of(tops.begin(), tops.end(),
                           [&path](const std::string& top) { return IsUnder(path, top); });
    };

    std::vector<std::string> problems;
    for (const std::string& file : files)
    {
        const int layer = LayerOf(table, file);
        if (layer < 0)
        {
            problems.push_back(file + ": in no layer of the README's layer table");
            continue;
        }
        // Quoted includes are searched beside the including file, then in the
        // include roots of the build: the project root and src/.
        const fs::path folder = (root / file).parent_path();
        const fs::path searched[] = {folder, root, root / "src"};
        std::ifstream stream(root / file);
        std::string line;
        std::string name;
        for (int number = 1; std::getline(stream, line); ++number)
        {
            if (!QuotedInclude(line, name))
                continue;
            const std::string where = file + ":" + std::to_string(number) + ": \"" + name + "\"";
            size_t via = 0;
            while (via < std::size(searched) && !fs::is_regular_file(searched[via] / name))
                ++via;
            if (via == std::size(searched))
            {
                problems.push_back(where + " is found under no include root");
                continue;
            }
            const std::string target = Relative(searched[via] / name, root);
            if (!inProgram(target))
            {
                problems.push_back(where + " points outside the program, to " + target);
                continue;
            }
            if (via == std::size(searched) - 1 && !IsUnder(file, "src"))
                problems.push_back(where + " is reached only through the src/ include root; name it from the "
                                           "project root");
            const int to = LayerOf(table, target);
            if (to > layer)
                problems.push_back(where + " points up from " + table.names[layer] + " to " +
                                   table.names[to]);
        }
    }
    return problems;
}
} // namespace zorvpro::layers
