// The tools run as a user runs them: in a folder of their own, with their output kept.
#include "../support/StdTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

struct Outcome
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs tool with args in folder work; its output goes to files beside it, outside work.
Outcome RunTool(const std::string& tool, const std::vector<std::string>& args, const fs::path& work,
            const fs::path& outputs)
{
    const fs::path out = outputs / "out.txt";
    const fs::path err = outputs / "err.txt";
    std::vector<char*> argv{const_cast<char*>(tool.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0)
    {
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || chdir(work.c_str()) != 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0)
            _exit(127);
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    Outcome outcome;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    outcome.out = ReadFile(out);
    outcome.err = ReadFile(err);
    return outcome;
}

std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Case
{
    const char* tool;
    std::vector<std::string> args;
    int exitCode;        // 0 or 2
    const char* message; // expected in standard error when refused
};

} // namespace

TEST(ToolCommandLine, HelpPrintsTheUsageAndUnknownOptionsAreRefusedWithoutWritingAnything)
{
    const std::vector<Case> cases{
        {ZORV_DATAGEN_TOOL, {"--help"}, 0, ""},
        {ZORV_DATAGEN_TOOL, {"out", "-h"}, 0, ""},
        {ZORV_DATAGEN_TOOL, {}, 2, "expected 1 argument(s), got 0"},
        {ZORV_DATAGEN_TOOL, {"--array"}, 2, "expected 1 argument(s), got 0"},
        {ZORV_DATAGEN_TOOL, {"--bogus"}, 2, "unknown option --bogus"},
        {ZORV_DATAGEN_TOOL, {"out", "--arary"}, 2, "unknown option --arary"},
        {ZORV_DATAGEN_TOOL, {"out", "--array", "--broken"}, 2, "--array and --broken exclude each other"},
        {ZORV_DATAGEN_TOOL, {"out", "more"}, 2, "expected 1 argument(s), got 2"},
        {ZORV_FUZZ_SEEDS_TOOL, {"--help"}, 0, ""},
        {ZORV_FUZZ_SEEDS_TOOL, {"ModelFileFuzzer", "--out"}, 2, "unknown option --out"},
        {ZORV_FUZZ_SEEDS_TOOL, {"ModelFileFuzzer"}, 2, "expected 2 argument(s), got 1"},
        {ZORV_CEPSTRUM_TOOL, {"--help"}, 0, ""},
        {ZORV_CEPSTRUM_TOOL, {"-o"}, 2, "unknown option -o"},
        {ZORV_CEPSTRUM_TOOL, {}, 2, "expected 1 argument(s), got 0"},
    };
    for (const Case& c : cases)
    {
        std::string call = fs::path(c.tool).filename().string();
        for (const std::string& a : c.args)
            call += " " + a;
        SCOPED_TRACE(call);
        zorvpro::test::StdTempDir work, outputs;
        const Outcome outcome = RunTool(c.tool, c.args, work.Path(), outputs.Path());
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_TRUE(Entries(work.Path()).empty())
            << "nothing is created, least of all a folder named after an option";
        const std::string& usageStream = c.exitCode == 0 ? outcome.out : outcome.err;
        EXPECT_NE(usageStream.find("usage: " + std::string(c.tool) + " "), std::string::npos) << usageStream;
        if (c.exitCode == 0)
            EXPECT_EQ(outcome.err, "");
        else
            EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
}

TEST(ToolCommandLine, KnownOptionsWorkBeforeOrAfterTheFolder)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"out", "--array"}, std::vector<std::string>{"--array", "out"}})
    {
        zorvpro::test::StdTempDir work, outputs;
        const Outcome outcome = RunTool(ZORV_DATAGEN_TOOL, args, work.Path(), outputs.Path());
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        const std::vector<std::string> written = Entries(work.Path());
        ASSERT_EQ(written.size(), 2u) << "the folder and the one array module";
        EXPECT_EQ(written[0], "out");
        EXPECT_EQ(fs::path(written[1]).extension(), ".vxq");
        EXPECT_EQ(outcome.out, (work.Path() / written[1]).string() + "\n");
    }
}
