// CTest runs every test case in a process of its own, and other runs may share the machine. The
// per-user test locations live below HOME, so each process gets a private HOME, removed when it
// ends: cases that write settings, previews or logs cannot race each other, nor read what another
// process left there.
#pragma once

#include "StdTempDir.h"

#include <cstdlib>
#include <string>

namespace zorvpro::testsupport
{
struct PrivateHome
{
    // The HOME the process was started with; empty when it had none.
    std::string original;
    test::StdTempDir folder;

    PrivateHome()
    {
        if (const char* home = std::getenv("HOME"))
            original = home;
        if (!folder.Path().empty())
            setenv("HOME", folder.StdPath().c_str(), 1);
    }
};
} // namespace zorvpro::testsupport
