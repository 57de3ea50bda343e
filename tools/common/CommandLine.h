#pragma once

// The command line of the project's tools: positional arguments and a few known options.
// "--help" or "-h" asks for the usage; any other word starting with "-" must be a known
// option, so that a mistyped option is refused instead of taken for a file or folder name.

#include <algorithm>
#include <initializer_list>
#include <iostream>
#include <string>
#include <vector>

namespace zorvpro::tools
{

struct CommandLine
{
    bool help = false;
    std::vector<std::string> arguments; // positional, in order
    std::vector<std::string> options;   // known options given, in order
    std::string error;                  // the first fault found; empty when none

    bool Has(const std::string& option) const
    {
        return std::find(options.begin(), options.end(), option) != options.end();
    }
};

inline CommandLine ParseCommandLine(int argc, char** argv, std::initializer_list<std::string> known)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i)
    {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h")
            line.help = true;
        else if (word.size() < 2 || word[0] != '-')
            line.arguments.push_back(word);
        else if (std::find(known.begin(), known.end(), word) != known.end())
            line.options.push_back(word);
        else if (line.error.empty())
            line.error = "unknown option " + word;
    }
    return line;
}

// Settles help and faults: prints the usage to standard output for help (result 0), or the
// fault and the usage to standard error (result 2) when there is a fault or the number of
// arguments is outside [fewest, most]. Returns -1 when the tool should go on.
inline int SettleCommandLine(CommandLine& line, const char* program, const std::string& usage, size_t fewest,
                             size_t most)
{
    if (line.help)
    {
        std::cout << "usage: " << program << " " << usage;
        return 0;
    }
    if (line.error.empty() && (line.arguments.size() < fewest || line.arguments.size() > most))
        line.error = "expected " + std::to_string(fewest) +
                     (most == fewest ? "" : " to " + std::to_string(most)) + " argument(s), got " +
                     std::to_string(line.arguments.size());
    if (line.error.empty())
        return -1;
    std::cerr << program << ": " << line.error << "\nusage: " << program << " " << usage;
    return 2;
}

} // namespace zorvpro::tools
