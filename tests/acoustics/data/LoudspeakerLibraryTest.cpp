#include "acoustics/data/LoudspeakerLibrary.h"
#include "DataSetFixture.h"
#include "tests/core/support/LogCapture.h"
#include "tools/datagen/BrokenCorpus.h"
#include "tools/datagen/Models.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zorvpro::acoustics;
namespace datagen = zorvpro::datagen;

namespace
{

struct Warnings
{
    std::vector<std::string> lines;
    LoudspeakerLibrary::WarningSink sink()
    {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

datagen::DataSet Renamed(const std::string& file, const std::string& family, const std::string& name,
                         const std::string& description = "")
{
    datagen::Descriptor d = datagen::PointSourceDescriptor();
    d.family = family;
    d.name = name;
    d.description = description;
    return datagen::Assemble(file, d, datagen::PointSourceModelFile());
}

// Peak resident memory of the process in kB.
long PeakKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key)
    {
        if (key == "VmHWM:")
        {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

} // namespace

TEST(LoudspeakerLibrary, BrokenArchivesAreWarnedAboutAndSkipped)
{
    TempDataFolder t;
    const std::vector<juce::File> corpus = datagen::WriteBrokenCorpus(t.dir.getChildFile("broken"));
    ASSERT_EQ(corpus.size(), datagen::BrokenCorpus().size());
    t.write(datagen::MakeArrayDataSet(), "zz");

    const long before = PeakKilobytes();
    LoudspeakerLibrary library;
    Warnings warnings;
    library.loadLoudspeakerFiles(t.path(), warnings.sink());

    // The good archive, listed after all broken ones, is still read.
    ASSERT_EQ(library.families().size(), 1u);
    EXPECT_EQ(library.families().at("TQR").count("TQR40V"), 1u);
    ASSERT_EQ(warnings.lines.size(), corpus.size());
    for (const juce::File& file : corpus)
    {
        const std::string path = file.getFullPathName().toStdString();
        const bool named =
            std::any_of(warnings.lines.begin(), warnings.lines.end(),
                        [&](const std::string& line) { return line.find(path) != std::string::npos; });
        EXPECT_TRUE(named) << path;
    }
    // Every line says why.
    for (const std::string& line : warnings.lines)
        EXPECT_NE(line.find(" not loaded: "), std::string::npos) << line;
    const auto pitch =
        std::find_if(warnings.lines.begin(), warnings.lines.end(),
                     [](const std::string& l) { return l.find("Pitch.vxq") != std::string::npos; });
    ASSERT_NE(pitch, warnings.lines.end());
    EXPECT_NE(pitch->find("Invalid connection pitch"), std::string::npos);
    // No corrupt count, length or step made the scan allocate its way up.
    EXPECT_LT(PeakKilobytes() - before, 200 * 1024);
}

TEST(LoudspeakerLibrary, ScanIsRecursiveCaseBlindSortedAndIgnoresDirectoryLinks)
{
    TempDataFolder t;
    t.write(Renamed("b.vxq", "F", "Same", "from b"), "sub");
    t.write(Renamed("a.VXQ", "F", "Same", "from a"));
    t.write(Renamed("c.vxq.bak", "F", "Backup"));
    TempDataFolder outside;
    outside.write(Renamed("linked.vxq", "F", "Linked"));
    std::filesystem::create_directory_symlink(outside.path(),
                                              t.dir.getChildFile("link").getFullPathName().toStdString());

    const std::vector<std::string> found = LoudspeakerLibrary::findDataSets(t.path());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NE(found[0].find("a.VXQ"), std::string::npos);
    EXPECT_NE(found[1].find("sub"), std::string::npos);

    LoudspeakerLibrary library;
    Warnings warnings;
    library.loadLoudspeakerFiles(t.path(), warnings.sink());
    EXPECT_TRUE(warnings.lines.empty());
    ASSERT_EQ(library.families().at("F").size(), 1u);
    // The archive listed later replaces the earlier one.
    EXPECT_EQ(library.families().at("F").at("Same")->getDescription(), "from b");
}

TEST(LoudspeakerLibrary, MissingFolderLeavesTheLibraryEmpty)
{
    LoudspeakerLibrary library;
    Warnings warnings;
    library.loadLoudspeakerFiles("/nonexistent/zorv/Loudspeakers", warnings.sink());
    EXPECT_TRUE(library.families().empty());
    EXPECT_TRUE(warnings.lines.empty());
    EXPECT_EQ(library.createLoudspeaker("TQR40V"), nullptr);
}

TEST(LoudspeakerLibrary, CreatesAssembledCopies)
{
    TempDataFolder t;
    t.write(datagen::MakeArrayDataSet());
    t.write(datagen::MakePointSourceDataSet());
    t.write(Renamed("other.vxq", "Other family", "TQP8"));
    LoudspeakerLibrary library;
    library.loadLoudspeakerFiles(t.path(), nullptr);
    EXPECT_EQ(library.families().size(), 3u);

    EXPECT_EQ(library.createLoudspeaker(""), nullptr);
    EXPECT_EQ(library.createLoudspeaker("tqr40v"), nullptr);
    EXPECT_NE(library.createLoudspeaker("TQP8"), nullptr); // from whichever family comes first

    const auto model = library.families().at("TQR").at("TQR40V");
    const auto first = library.createLoudspeaker("TQR40V");
    const auto second = library.createLoudspeaker("TQR40V");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, second);
    EXPECT_NE(first, model);
    EXPECT_TRUE(first->isAssembled());
    EXPECT_FALSE(model->isAssembled());

    // Transformer under the loudspeaker, all sixteen drivers under it, each
    // with the shared directivity record, moved into the centred frame.
    const auto children = first->getChildren();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0]->getChildren().size(), 16u);
    ASSERT_EQ(first->getTransducers().size(), 16u);
    EXPECT_NE(first->getTransducers()[0], model->getTransducers()[0]);
    EXPECT_EQ(first->getTransducers()[0]->getPolar(), model->getPolars()[0]);
    // Drivers are listed from the top down.
    EXPECT_NEAR(first->getTransducers()[0]->getPosition().z, 15.5 * 0.0615 - 0.492, 1e-6);
    EXPECT_NEAR(first->getTransducers()[15]->getPosition().z, 0.5 * 0.0615 - 0.492, 1e-6);
    EXPECT_NEAR(model->getTransducers()[0]->getPosition().z, 15.5 * 0.0615, 1e-6);
    EXPECT_EQ(first->getEQData(1), model->getEQData(1));
    EXPECT_EQ(first->getBOM().count(), 3u);
    EXPECT_EQ(first->getConnections().size(), 2u);
}

TEST(LoudspeakerLibrary, WarningsReachTheLog)
{
    TempDataFolder t;
    const juce::File bad = t.dir.getChildFile("Broken.vxq");
    ASSERT_TRUE(bad.replaceWithText("not an archive"));
    t.write(datagen::MakePointSourceDataSet());

    zorvpro::test::LogCapture capture;
    LoudspeakerLibrary library;
    library.loadLoudspeakerFiles(t.path());
    EXPECT_EQ(library.families().size(), 1u);

    const std::vector<std::string> lines = capture.Lines();
    const std::string expected =
        "(W): Loudspeaker data set " + bad.getFullPathName().toStdString() + " not loaded: Not a zip archive";
    const bool found =
        std::any_of(lines.begin(), lines.end(),
                    [&](const std::string& l) { return l.find(expected) != std::string::npos; });
    EXPECT_TRUE(found) << expected;
}

// A file name that is not UTF-8 cannot be handed to the archive reader as
// it stands; it is reported like any archive that yields no model.
TEST(LoudspeakerLibrary, NonUtf8FileNamesAreReportedNotFatal)
{
    TempDataFolder t;
    const std::string odd = t.path() + "/odd\xff\xc3name.vxq";
    {
        std::ofstream out(odd, std::ios::binary);
        out << "PK\x05\x06";
    }
    LoudspeakerLibrary library;
    Warnings warnings;
    library.loadLoudspeakerFiles(t.path(), warnings.sink());
    EXPECT_TRUE(library.families().empty());
    ASSERT_EQ(warnings.lines.size(), 1u);
    EXPECT_NE(warnings.lines[0].find(odd), std::string::npos);
}
