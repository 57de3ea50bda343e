#include "core/Xml/HierarchicalFile.h"
#include "fuzz/targets/DocumentTargets.h"
#include "tests/fuzzreplay/Replay.h"

#include <QFile>
#include <QTemporaryDir>

namespace zorvpro::fuzz
{
namespace
{

TEST(FuzzReplay, ProjectAndSettingsFilesSurviveEveryKeptInput)
{
    Replay(DocumentTargets());
}

QByteArray Nested(int depth, const QByteArray& open = "<a>")
{
    return open.repeated(depth) + "x" + QByteArray("</a>").repeated(depth);
}

TEST(FuzzReplay, DomDocumentsAtAndPastTheNestingLimitOnASmallStack)
{
    constexpr int limit = HierarchicalFile::MaxElementDepth;
    const struct
    {
        const char* what;
        QByteArray bytes;
        bool loads;
    } documents[] = {
        {"plain at the limit", Nested(limit), true},
        {"plain past it", Nested(limit + 1), false},
        // An empty element is as deep as one with content.
        {"empty element at the limit", Nested(limit - 1).replace("x", "<b/>"), true},
        {"empty element past it", Nested(limit).replace("x", "<b/>"), false},
        {"quoted markup at the limit", Nested(limit, "<a n=\"b>c\" m='/>'>"), true},
        {"quoted markup past it", Nested(limit + 1, "<a n=\"b>c\" m='/>'>"), false},
        {"entity expanding past it", "<!DOCTYPE r [<!ENTITY e \"" + Nested(limit) + "\">]><r>&e;</r>", false},
        // Read as declared, the escapes make '<"' one character; read as
        // UTF-8, a quote that hides the elements in between.
        {"declared encoding hiding markup past it",
         "<?xml version=\"1.0\" encoding=\"ISO-2022-JP\"?><r>\x1b$B<\"\x1b(B" + Nested(limit) +
             "\x1b$B<\"\x1b(B></r>",
         false},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("document.xml"));
    for (const auto& d : documents)
    {
        SCOPED_TRACE(d.what);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(d.bytes), d.bytes.size());
        file.close();
        bool loaded = false;
        RunWithStack(kReplayStackBytes,
                     [&]
                     {
                         const auto* data = reinterpret_cast<const uint8_t*>(d.bytes.constData());
                         FuzzProjectFile(data, size_t(d.bytes.size()));
                         FuzzSettingsFile(data, size_t(d.bytes.size()));
                         loaded = HierarchicalFile::Open(path) != nullptr;
                     });
        EXPECT_EQ(loaded, d.loads);
    }
}

} // namespace
} // namespace zorvpro::fuzz
