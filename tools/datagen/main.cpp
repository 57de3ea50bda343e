// Writes the project's loudspeaker data sets into a folder.
//   zorv_datagen_tool <folder>            the array module and the point source
//   zorv_datagen_tool <folder> --array    only the array module
//   zorv_datagen_tool <folder> --broken   the archives that must not load
#include "tools/common/CommandLine.h"
#include "tools/datagen/BrokenCorpus.h"
#include "tools/datagen/Models.h"

#include <iostream>

using namespace zorvpro::datagen;

int main(int argc, char** argv)
{
    const char* usage = "<folder> [--array | --broken]\n"
                        "Writes the project's loudspeaker data sets into the folder:\n"
                        "  (default)  the array module and the point source\n"
                        "  --array    only the array module\n"
                        "  --broken   the archives that must not load\n";
    zorvpro::tools::CommandLine line = zorvpro::tools::ParseCommandLine(argc, argv, {"--array", "--broken"});
    if (line.error.empty() && line.Has("--array") && line.Has("--broken"))
        line.error = "--array and --broken exclude each other";
    if (const int done = zorvpro::tools::SettleCommandLine(line, argv[0], usage, 1, 1); done >= 0)
        return done;

    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile(line.arguments[0]);
    if (!folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }
    std::vector<juce::File> written;
    size_t expected = 0;
    if (line.Has("--broken"))
    {
        written = WriteBrokenCorpus(folder);
        expected = BrokenCorpus().size();
    }
    else if (line.Has("--array"))
    {
        expected = 1;
        if (WriteDataSet(folder, MakeArrayDataSet()))
            written.push_back(folder.getChildFile(MakeArrayDataSet().fileName));
    }
    else
    {
        expected = 2;
        written = WriteStandardDataSets(folder);
    }
    for (const juce::File& f : written)
        std::cout << f.getFullPathName() << "\n";
    return written.size() == expected ? 0 : 1;
}
