#include "core/Xml/NestingDepth.h"

namespace zorvpro
{
namespace
{
class MarkupScanner
{
public:
    explicit MarkupScanner(const QString& text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    bool Next(const char* prefix) const { return text_.midRef(pos_).startsWith(QLatin1String(prefix)); }

    // Moves past the next occurrence of the terminator, or to the end.
    void SkipPast(const char* terminator)
    {
        const int found = text_.indexOf(QLatin1String(terminator), pos_);
        MoveTo(found < 0 ? text_.size() : found + static_cast<int>(qstrlen(terminator)));
    }

    // Moves past the '>' that closes the current tag, skipping quoted
    // values. True when the tag ended with "/>".
    bool SkipTag()
    {
        QChar quote;
        for (int i = pos_ + 1; i < text_.size(); ++i)
        {
            const QChar c = text_.at(i);
            if (!quote.isNull())
            {
                if (c == quote)
                    quote = QChar();
            }
            else if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                quote = c;
            else if (c == QLatin1Char('>'))
            {
                const bool selfClosing = text_.at(i - 1) == QLatin1Char('/');
                MoveTo(i + 1);
                return selfClosing;
            }
        }
        MoveTo(text_.size());
        return false;
    }

    void Step() { MoveTo(pos_ + 1); }
    QChar Current() const { return text_.at(pos_); }
    int Line() const { return line_; }
    int Column() const { return pos_ - lineStart_ + 1; }

private:
    void MoveTo(int target)
    {
        for (; pos_ < target; ++pos_)
        {
            if (text_.at(pos_) == QLatin1Char('\n'))
            {
                ++line_;
                lineStart_ = pos_ + 1;
            }
        }
    }

    const QString& text_;
    int pos_ = 0;
    int line_ = 1;
    int lineStart_ = 0;
};
} // namespace

QString FindUnsafeMarkup(const QString& text, int maxDepth, int& line, int& column)
{
    MarkupScanner scanner(text);
    int depth = 0;
    while (!scanner.AtEnd())
    {
        if (scanner.Current() != QLatin1Char('<'))
            scanner.Step();
        else if (scanner.Next("<!--"))
            scanner.SkipPast("-->");
        else if (scanner.Next("<![CDATA["))
            scanner.SkipPast("]]>");
        else if (scanner.Next("<?"))
            scanner.SkipPast("?>");
        else if (scanner.Next("<!"))
        {
            // Nothing this program writes declares a document type; in
            // content any other "<!" is an error at which the parser stops.
            line = scanner.Line();
            column = scanner.Column();
            return QStringLiteral("document type declarations are not read");
        }
        else if (scanner.Next("</"))
        {
            depth = depth > 0 ? depth - 1 : 0;
            scanner.SkipTag();
        }
        else
        {
            const int tagLine = scanner.Line();
            const int tagColumn = scanner.Column();
            // An empty element ("<a/>") lies one level down as much as one
            // with content does; it only leaves nothing open behind it.
            const bool empty = scanner.SkipTag();
            if (depth + 1 > maxDepth)
            {
                line = tagLine;
                column = tagColumn;
                return QStringLiteral("elements nested deeper than %1 levels").arg(maxDepth);
            }
            if (!empty)
                ++depth;
        }
    }
    return {};
}
} // namespace zorvpro
