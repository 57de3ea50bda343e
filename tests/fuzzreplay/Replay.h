#pragma once

#include "fuzz/targets/FuzzTarget.h"
#include "fuzz/targets/StackThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zorvpro::fuzz
{

namespace fs = std::filesystem;

// The files kept under fuzz/<kind>/<target>/ ("regressions" or "corpus").
inline std::vector<fs::path> KeptInputs(const std::string& target, const char* kind)
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

inline std::string Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Smaller than the stack of most threads (8 MB on a Linux main thread, 1 MB
// or less for pool threads elsewhere): a recursion bound that only holds on
// a large stack overflows here.
constexpr size_t kReplayStackBytes = 512 * 1024;

// Every kept input goes through its target's entry function on a thread with
// kReplayStackBytes of stack; a crash, a sanitizer report or a broken
// invariant (an abort) inside it fails the test.
inline void Replay(const std::vector<FuzzTarget>& targets)
{
    ASSERT_FALSE(targets.empty());
    for (const FuzzTarget& target : targets)
    {
        SCOPED_TRACE(target.name);
        EXPECT_TRUE(fs::exists(fs::path(ZORV_FUZZ_DIR) / (std::string(target.name) + ".cpp")))
            << "each entry function has its fuzzer";
        EXPECT_FALSE(KeptInputs(target.name, "corpus").empty()) << "every target keeps seeds";
        for (const char* kind : {"regressions", "corpus"})
        {
            for (const fs::path& file : KeptInputs(target.name, kind))
            {
                SCOPED_TRACE(file.string());
                const std::string bytes = Bytes(file);
                int result = -1;
                RunWithStack(
                    kReplayStackBytes, [&]
                    { result = target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()); });
                EXPECT_EQ(result, 0);
            }
        }
    }
}

} // namespace zorvpro::fuzz
