// The band the "Frequency" box shows is the band the coverage maps are
// coloured at and the one the project stores, after every bandwidth change.
#include "ProgramTestEnv.h"
#include "UserHands.h"

#include "acoustics/model/FrequencyBands.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

namespace zorvpro::programtest
{
namespace
{
using acoustics::frequencyForLabel;
using acoustics::labelForFrequency;

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string ShownBand()
{
    return Shown<QComboBox>("Spl_Freq")->currentText().toStdString();
}

// Shown bandwidth and band against what the maps are coloured at (the project's settings).
void ExpectShownIsUsed(const std::string& context)
{
    const ProjectSettings& settings = *ProjectDefinition::Instance()->GetSettings();
    const std::int32_t code = settings.getSplOctaveMode();
    EXPECT_EQ(Shown<QComboBox>("Spl_Mode")->currentText(), Text(acoustics::splBandwidthName(code)))
        << context;
    if (code == acoustics::AllBands || code == acoustics::VocalBands)
        return;
    EXPECT_EQ(frequencyForLabel(code, ShownBand()), settings.getSplFreqCtr())
        << context << ": shows " << ShownBand();
}
} // namespace

TEST(SplBand, ShownBandIsTheComputedAndStoredBandAfterEveryBandwidthChange)
{
    StartOnSpeakerTab();
    const std::int32_t bands[] = {acoustics::OctaveBands, acoustics::ThirdOctaveBands};

    // A new project uses 1 kHz under the vocal bands: the first single-band view shows it.
    ExpectShownIsUsed("new project");
    const double start = ProjectDefinition::Instance()->GetSettings()->getSplFreqCtr();
    Choose("Spl_Mode", QStringLiteral("Octave"));
    EXPECT_EQ(ShownBand(), labelForFrequency(acoustics::OctaveBands, start));
    ExpectShownIsUsed("vocal bands to octave");
    // The same bandwidth reported again (the list opened and closed) keeps the band.
    OpenAndClose("Spl_Mode");
    ExpectShownIsUsed("bandwidth list opened and closed");

    // From every band of both single-band bandwidths: through both band ranges (which keep the
    // band in use) to the other bandwidth's nearest band, and back to the nearest band of its own.
    for (const std::int32_t from : bands)
    {
        const std::int32_t other =
            from == acoustics::OctaveBands ? acoustics::ThirdOctaveBands : acoustics::OctaveBands;
        const std::string fromName = acoustics::splBandwidthName(from);
        Choose("Spl_Mode", Text(fromName));
        for (const std::string& label : acoustics::bandLabels(from))
        {
            const std::string context = fromName + " " + label;
            if (ShownBand() != label)
                Choose("Spl_Freq", Text(label));
            ExpectShownIsUsed(context);
            for (const std::int32_t range : {acoustics::AllBands, acoustics::VocalBands})
            {
                Choose("Spl_Mode", Text(acoustics::splBandwidthName(range)));
                ExpectShownIsUsed(context + " to " + acoustics::splBandwidthName(range));
            }
            const std::string near = labelForFrequency(other, frequencyForLabel(from, label));
            Choose("Spl_Mode", Text(acoustics::splBandwidthName(other)));
            EXPECT_EQ(ShownBand(), near) << context << ": the nearest band of the other bandwidth";
            ExpectShownIsUsed(context + " to the other bandwidth");
            Choose("Spl_Mode", Text(fromName));
            EXPECT_EQ(ShownBand(), labelForFrequency(from, frequencyForLabel(other, near)))
                << context << " and back";
            ExpectShownIsUsed(context + " and back");
        }
    }

    // What is stored is what the box shows.
    SaveAs(Documents() + QStringLiteral("/Bands.tq"));
    ASSERT_EQ(ProjectDefinition::Instance()->GetFileName(), Documents() + QStringLiteral("/Bands.tq"));
    const QByteArray saved = SaveAndRead();
    const ProjectSettings& settings = *ProjectDefinition::Instance()->GetSettings();
    EXPECT_TRUE(saved.contains(QStringLiteral("<SplFreqCtr>%1</SplFreqCtr>")
                                   .arg(frequencyForLabel(settings.getSplOctaveMode(), ShownBand()))
                                   .toUtf8()))
        << saved.toStdString();
}
} // namespace zorvpro::programtest
