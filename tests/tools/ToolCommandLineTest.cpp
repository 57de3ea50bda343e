// The tools run as a user runs them, each in an empty folder of its own.
#include "../support/StdTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::string ReadFile(const fs::path& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

size_t CountEntries(const fs::path& folder)
{
    size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it)
        ++count;
    return count;
}

struct Case
{
    const char* tool;
    const char* args;      // plain words, no quoting needed
    int exitCode;          // 0 or 2
    const char* stderrHas; // the fault named, when refused
    size_t created;        // files and folders left in the working folder
};

} // namespace

TEST(ToolCommandLine, HelpPrintsTheUsageUnknownOptionsAreRefusedAndNothingIsNamedAfterAnOption)
{
    const std::vector<Case> cases{
        {ZORV_DATAGEN_TOOL, "--help", 0, "", 0},
        {ZORV_DATAGEN_TOOL, "out -h", 0, "", 0},
        {ZORV_DATAGEN_TOOL, "--array", 2, "expected 1 argument(s), got 0", 0},
        {ZORV_DATAGEN_TOOL, "--bogus", 2, "unknown option --bogus", 0},
        {ZORV_DATAGEN_TOOL, "out --arary", 2, "unknown option --arary", 0},
        {ZORV_DATAGEN_TOOL, "out --array --broken", 2, "--array and --broken exclude each other", 0},
        {ZORV_DATAGEN_TOOL, "--array out", 0, "", 2}, // the folder and the array module
        {ZORV_FUZZ_SEEDS_TOOL, "--help", 0, "", 0},
        {ZORV_FUZZ_SEEDS_TOOL, "ModelFileFuzzer --out", 2, "unknown option --out", 0},
        {ZORV_CEPSTRUM_TOOL, "--help", 0, "", 0},
        {ZORV_CEPSTRUM_TOOL, "-o", 2, "unknown option -o", 0},
    };
    for (const Case& c : cases)
    {
        const std::string tool = c.tool;
        SCOPED_TRACE(fs::path(tool).filename().string() + " " + c.args);
        zorvpro::test::StdTempDir work, outputs;
        const fs::path out = outputs.Path() / "out", err = outputs.Path() / "err";
        const std::string command = "cd '" + work.StdPath() + "' && '" + tool + "' " + c.args + " >'" +
                                    out.string() + "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
        EXPECT_EQ(CountEntries(work.Path()), c.created);
        if (c.created != 0)
            continue;
        const std::string usage = "usage: " + tool + " ";
        EXPECT_NE(ReadFile(c.exitCode == 0 ? out : err).find(usage), std::string::npos);
        EXPECT_NE(ReadFile(err).find(c.stderrHas), std::string::npos) << ReadFile(err);
        if (c.exitCode == 0)
        {
            EXPECT_EQ(ReadFile(err), "");
        }
    }
}
