#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zorvpro::test
{
// A temporary folder removed with the object, for tests without Qt.
class StdTempDir
{
public:
    StdTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorv-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~StdTempDir()
    {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    StdTempDir(const StdTempDir&) = delete;
    StdTempDir& operator=(const StdTempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string StdPath() const { return path_.string(); }

private:
    std::filesystem::path path_;
};
} // namespace zorvpro::test
