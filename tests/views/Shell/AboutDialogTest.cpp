#include "ShellTestSupport.h"

#include "acoustics/engine/AcousticsRegistry.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "core/Base/ApplicationSeam.h"
#include "data/Settings/WindowPlacement.h"
#include "views/Dialogs/AboutDialog.h"

#include <QLabel>
#include <QStandardPaths>
#include <QTest>

namespace zorvpro::test
{
namespace
{
QLabel* Child(QWidget& dialog, const char* name)
{
    return dialog.findChild<QLabel*>(QString::fromLatin1(name));
}

TEST(AboutDialogTest, VersionsFixedSizeLogoAndThemedLink)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("3.1.4"));
    ApplicationSeam app;
    app.SetEngine(acoustics::getAcousticsEngine(0));
    const auto v = app.GetEngine()->getVersion();
    {
        AboutDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Zorv Tessary"));
        EXPECT_EQ(dialog.objectName(), QStringLiteral("zorvpro__AboutDialog"));
        const QStringList lines = Child(dialog, "labelInfo")->text().split('\n');
        ASSERT_EQ(lines.size(), 5);
        EXPECT_EQ(lines[0], QStringLiteral("Zorv Tessary"));
        EXPECT_EQ(lines[1], QStringLiteral("Version 3.1.4"));
        EXPECT_EQ(lines[2], QStringLiteral("Engine %1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]));
        EXPECT_NE(v, (acoustics::IZorvAcoustics::Version{0, 0, 0, 0}));

        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.resize(800, 600);
        EXPECT_EQ(dialog.size(), QSize(450, 300));
        const QPixmap logo = Child(dialog, "labelLogo")->pixmap(Qt::ReturnByValue);
        EXPECT_EQ(std::max(logo.width(), logo.height()), 100);
        EXPECT_LE(std::min(logo.width(), logo.height()), 100);

        for (const int theme : {1, 0})
        {
            const ApplicationStyle style(theme);
            dialog.themeChanged(theme);
            const QString colour = theme == 1 ? "#0000FF" : "#FFFFFF";
            EXPECT_EQ(Child(dialog, "licenseLbl")->text(),
                      "<a style=\"color:" + colour + " ;\"href= m_filePath >License Terms</a>");
            SaveScreenshot(dialog, theme == 1 ? "about-light" : "about-dark");
        }
        // Hiding stores where the dialog was, under its object name.
        dialog.hide();
        WindowSettings stored;
        EXPECT_TRUE(QTest::qWaitFor([&] { return ReadWindowPlacement(&dialog, stored); }, 2000));
    }
    app.SetEngine(nullptr);
    acoustics::releaseAcousticsEngine(0);
}

TEST(AboutDialogTest, LicenceIsWrittenOnDemandAndAFailedWriteWarns)
{
    AboutDialog dialog;
    const QString path = dialog.licensePath();
    const QString folder = QFileInfo(path).absolutePath();
    QDir(folder).removeRecursively();
    UrlRecorder recorder;

    dialog.openLicense(QStringLiteral("ignored"));

    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.front(), QUrl::fromLocalFile(path));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    pdf.close();

    // Nowhere to write it: a file stands where the folder should be.
    QDir(folder).removeRecursively();
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QStringList warning = AnswerWarning([&] { dialog.openLicense(QString()); });
    EXPECT_EQ(warning, (QStringList{"WARNING", "No such file"}));
    EXPECT_EQ(recorder.urls.size(), 1);
    QFile::remove(folder);
}
} // namespace
} // namespace zorvpro::test
