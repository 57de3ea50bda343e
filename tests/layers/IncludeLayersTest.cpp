// Every include of the program points down: a file includes its own layer and
// those below it, in the order the README's layer table gives.
#include "IncludeLayers.h"
#include "../support/StdTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace zorvpro::layers
{
namespace
{
std::string ReadFile(const fs::path& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

void Write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(IncludeLayers, NoIncludeOfTheProgramPointsUp)
{
    const fs::path root = ZORV_SOURCE_DIR;
    const LayerTable table = ReadLayerTable(ReadFile(root / "README.md"));
    ASSERT_GE(table.names.size(), 13u) << "the README's Layout section has no layer table";
    EXPECT_EQ(LayerOf(table, "core/math/Vector3.h"), 0);
    EXPECT_LT(LayerOf(table, "src/views/Tabs/Venue/SurfacePropertiesControl.h"),
              LayerOf(table, "src/views/Adapters/Venue/VenueTabAdapter.h"));
    EXPECT_GT(LayerOf(table, "src/views/Tabs/Venue/VenueTab.h"),
              LayerOf(table, "src/views/Adapters/Venue/VenueTabAdapter.h"));
    const std::vector<std::string> problems = CheckIncludes(root, table);
    EXPECT_TRUE(problems.empty()) << Lines(problems);
}

// A small tree with one fault of each kind: each is named with its file and line.
TEST(IncludeLayers, NamesEachFaultWithFileAndLine)
{
    test::StdTempDir dir;
    const fs::path& root = dir.Path();
    ASSERT_FALSE(root.empty());
    Write(root / "README.md", "# Tree\n\n## Layout\n\n| layer | sources |\n| --- | --- |\n"
                              "| base | `core`, `src/Utility` |\n| panels | `src/views/Tabs` |\n"
                              "| pages | `src/views/Tabs/*/*Tab.*` |\n\n## Next\n\n| layer | sources |\n"
                              "| --- | --- |\n| stray | `tools` |\n");
    Write(root / "core/B.h", "");
    Write(root / "core/A.h", "#pragma once\n#include \"core/B.h\"\n");
    Write(root / "core/C.cpp", "  #  include \"Utility/Check.h\"\n");
    Write(root / "core/D.cpp", "// #include \"core/B.h\"\n#include \"core/Missing.h\"\n");
    Write(root / "src/Utility/Check.h", "#include <vector>\n");
    Write(root / "src/views/Tabs/Venue/Panel.h", "#pragma once\n#include \"views/Tabs/Venue/VenueTab.h\"\n");
    Write(root / "src/views/Tabs/Venue/VenueTab.h", "#include \"Panel.h\"\n");
    Write(root / "src/views/Tabs/Venue/VenueTab.cpp",
          "#include \"VenueTab.h\"\n#include \"tools/gen/Gen.h\"\n");
    Write(root / "src/Stray.cpp", "");
    Write(root / "tools/gen/Gen.h", "#include \"src/views/Tabs/Venue/VenueTab.h\"\n");

    const LayerTable table = ReadLayerTable(ReadFile(root / "README.md"));
    EXPECT_EQ(table.names, (std::vector<std::string>{"base", "panels", "pages"}));
    EXPECT_EQ(
        Lines(CheckIncludes(root, table)),
        Lines(
            {"core/C.cpp:1: \"Utility/Check.h\" is reached only through the src/ include root; name it "
             "from the project root",
             "core/D.cpp:2: \"core/Missing.h\" is found under no include root",
             "src/Stray.cpp: in no layer of the README's layer table",
             "src/views/Tabs/Venue/Panel.h:2: \"views/Tabs/Venue/VenueTab.h\" points up from panels to pages",
             "src/views/Tabs/Venue/VenueTab.cpp:2: \"tools/gen/Gen.h\" points outside the program, to "
             "tools/gen/Gen.h"}));
}
} // namespace
} // namespace zorvpro::layers
