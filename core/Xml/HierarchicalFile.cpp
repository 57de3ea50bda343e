#include "core/Xml/HierarchicalFile.h"

#include "core/Logger/OmbraxLogger.h"
#include "core/Xml/NestingDepth.h"

#include <QFile>
#include <QSaveFile>
#include <QTextCodec>

namespace zorvpro
{
namespace
{
constexpr int kIndent = 4;
constexpr int kUtf8Mib = 106;

} // namespace

HierarchicalFile::HierarchicalFile() = default;

HierarchicalFile::~HierarchicalFile() = default;

HierarchicalFilePtr HierarchicalFile::Open(const QString& path)
{
    auto file = std::make_shared<HierarchicalFile>();
    if (!file->Load(path))
        return {};
    return file;
}

bool HierarchicalFile::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        OmbraxLogger::Log(LogLevel::Error, QStringLiteral("Unable to open %1 for reading").arg(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    int line = 0;
    int column = 0;
    bool parsed = false;
    // Decoded once, for the check and the parser alike: given the bytes, the
    // parser would decode them by whatever encoding the document declares,
    // and could find markup where the check saw none.
    const QString text =
        QTextCodec::codecForUtfText(bytes, QTextCodec::codecForMib(kUtf8Mib))->toUnicode(bytes);
    QString message = FindUnsafeMarkup(text, MaxElementDepth, line, column);
    if (message.isEmpty())
        parsed = document_.setContent(text, false, &message, &line, &column);
    if (!parsed)
    {
        OmbraxLogger::Log(LogLevel::Error,
                          QStringLiteral("Unable to parse %1 - %2 - line %3, col %4")
                              .arg(path, message, QString::number(line), QString::number(column)));
        return false;
    }
    return true;
}

bool HierarchicalFile::Save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    {
        OmbraxLogger::Log(LogLevel::Error, QStringLiteral("Unable to open %1 for writing").arg(path));
        return false;
    }
    const QByteArray bytes = document_.toByteArray(kIndent);
    if (file.write(bytes) != bytes.size() || !file.commit())
    {
        OmbraxLogger::Log(LogLevel::Error, QStringLiteral("Error writing to %1").arg(path));
        return false;
    }
    return true;
}

HierarchicalFileElementPtr HierarchicalFile::CreateRoot(const QString& tagName)
{
    QDomElement root = document_.createElement(tagName);
    if (root.isNull())
        return {};
    document_.appendChild(root);
    return std::make_shared<HierarchicalFileElement>(root);
}

HierarchicalFileElementPtr HierarchicalFile::GetRoot() const
{
    return std::make_shared<HierarchicalFileElement>(document_.documentElement());
}
} // namespace zorvpro
