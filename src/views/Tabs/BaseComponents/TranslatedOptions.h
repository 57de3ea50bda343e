#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace zorvpro
{
// The options of a combo box: fixed keys shown as translated texts. A panel
// finds the option a widget reports by its position, so that what it does
// never depends on the language the texts were translated into.
class TranslatedOptions
{
public:
    TranslatedOptions(const char* context, std::vector<std::string> keys);

    // The texts the combo box offers, in order.
    QStringList texts() const;
    // The position of a text among the shown texts or the keys; -1 for neither.
    int indexOf(const QString& text) const;
    // The key and the shown text at a position; empty outside the list.
    std::string key(int index) const;
    QString text(int index) const;

private:
    const char* context_;
    std::vector<std::string> keys_;
};
} // namespace zorvpro
