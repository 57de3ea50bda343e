// CTest runs every test case in a process of its own, and other runs may share the machine. The
// per-user test locations live below HOME, so each process gets a private HOME, removed when it
// ends: cases that write settings, previews or logs cannot race each other, nor read what another
// process left there.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zorvpro::testsupport
{
struct PrivateHome
{
    std::string path;
    // The HOME the process was started with; empty when it had none.
    std::string original;

    PrivateHome()
    {
        if (const char* home = std::getenv("HOME"))
            original = home;
        std::string pattern = (std::filesystem::temp_directory_path() / "zorv-test-home-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
        {
            path = pattern;
            setenv("HOME", path.c_str(), 1);
        }
    }
    ~PrivateHome()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;
};
} // namespace zorvpro::testsupport
