// Writes the project's loudspeaker data sets into a folder.
//   zorv_datagen_tool <folder>            the array module and the point source
//   zorv_datagen_tool <folder> --array    only the array module
//   zorv_datagen_tool <folder> --broken   the archives that must not load
#include "tools/datagen/BrokenCorpus.h"
#include "tools/datagen/Models.h"

#include <cstring>
#include <iostream>

using namespace zorvpro::datagen;

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::cerr << "usage: " << argv[0] << " <folder> [--array | --broken]\n";
        return 2;
    }
    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]);
    if (!folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }
    std::vector<juce::File> written;
    size_t expected = 0;
    if (argc > 2 && std::strcmp(argv[2], "--broken") == 0)
    {
        written = WriteBrokenCorpus(folder);
        expected = BrokenCorpus().size();
    }
    else if (argc > 2 && std::strcmp(argv[2], "--array") == 0)
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
