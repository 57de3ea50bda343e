#include "fuzz/targets/AcousticTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zorvpro::fuzz
{
namespace
{

namespace fs = std::filesystem;

std::vector<fs::path> KeptInputs(const std::string& target, const char* kind)
{
    std::vector<fs::path> files;
    const fs::path dir = fs::path(ZORV_FUZZ_DIR) / kind / target;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every kept input goes through the target's entry function; a crash, a
// sanitizer report or a broken invariant inside it fails the test.
void Replay(const FuzzTarget& target)
{
    EXPECT_FALSE(KeptInputs(target.name, "corpus").empty()) << "every target keeps seeds";
    for (const char* kind : {"regressions", "corpus"})
    {
        for (const fs::path& file : KeptInputs(target.name, kind))
        {
            SCOPED_TRACE(file.string());
            const std::string bytes = Bytes(file);
            EXPECT_EQ(target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
        }
    }
}

TEST(FuzzReplay, AcousticTargetsSurviveEveryKeptInput)
{
    ASSERT_FALSE(AcousticTargets().empty());
    for (const FuzzTarget& target : AcousticTargets())
    {
        SCOPED_TRACE(target.name);
        EXPECT_TRUE(fs::exists(fs::path(ZORV_FUZZ_DIR) / (std::string(target.name) + ".cpp")))
            << "each entry function has its fuzzer";
        Replay(target);
    }
}

} // namespace
} // namespace zorvpro::fuzz
