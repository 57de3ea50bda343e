// Draws every themed icon file and the images the style sheet names into
// <folder>/Resources/Icons and writes the resource collection file
// <folder>/zorv_icons.qrc that lists them.
// Usage: zorv_resgen <folder>

#include "tools/resgen/IconSets.h"
#include "tools/resgen/ProgramResources.h"
#include "tools/resgen/ShellImages.h"
#include "tools/resgen/ThemeImages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>

using namespace zorvpro::resgen;

int main(int argc, char** argv)
{
    const bool help = argc == 2 && std::strcmp(argv[1], "--help") == 0;
    if (argc != 2 || help || argv[1][0] == '-')
    {
        std::fprintf(help ? stdout : stderr, "usage: %s <output folder>\n", argv[0]);
        return help ? 0 : 2;
    }
    // Text in the licence document needs fonts, hence an application; never
    // a display, whatever platform the calling build environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath(QStringLiteral("Resources/Icons")))
    {
        std::fprintf(stderr, "cannot create %s/Resources/Icons\n", argv[1]);
        return 1;
    }

    QStringList files;
    for (const IconSet& set : IconSets())
        for (const bool light : {true, false})
            for (const Mode mode : set.modes)
                for (const bool on : set.states)
                {
                    const QString path = IconFilePath(set, light, mode, on);
                    if (!RenderIcon(set, light, mode, on).save(root.filePath(path), "PNG"))
                    {
                        std::fprintf(stderr, "cannot write %s\n", qPrintable(root.filePath(path)));
                        return 1;
                    }
                    files << path;
                }

    for (const ThemeImage& image : ThemeImages())
    {
        const QString path = QString::fromLatin1(image.path);
        if (!image.image.save(root.filePath(path), "PNG"))
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(root.filePath(path)));
            return 1;
        }
        files << path;
    }
    if (!WriteShellResources(root, files) || !WriteProgramResources(root, files))
        return 1;

    QFile qrc(root.filePath(QStringLiteral("zorv_icons.qrc")));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(qrc.fileName()));
        return 1;
    }
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& file : files)
        out << "  <file>" << file << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    out.flush();
    return qrc.error() == QFile::NoError ? 0 : 1;
}
