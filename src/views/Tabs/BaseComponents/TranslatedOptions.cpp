#include "views/Tabs/BaseComponents/TranslatedOptions.h"

#include <QCoreApplication>

namespace zorvpro
{
TranslatedOptions::TranslatedOptions(const char* context, std::vector<std::string> keys)
    : context_(context), keys_(std::move(keys))
{
}

QStringList TranslatedOptions::texts() const
{
    QStringList result;
    for (std::size_t i = 0; i < keys_.size(); ++i)
        result << text(static_cast<int>(i));
    return result;
}

int TranslatedOptions::indexOf(const QString& text) const
{
    for (std::size_t i = 0; i < keys_.size(); ++i)
    {
        const int index = static_cast<int>(i);
        if (text == this->text(index) || text == QString::fromStdString(keys_[i]))
            return index;
    }
    return -1;
}

std::string TranslatedOptions::key(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= keys_.size())
        return {};
    return keys_[static_cast<std::size_t>(index)];
}

QString TranslatedOptions::text(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= keys_.size())
        return {};
    return QCoreApplication::translate(context_, keys_[static_cast<std::size_t>(index)].c_str());
}
} // namespace zorvpro
