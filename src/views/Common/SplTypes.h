#pragma once

#include <QMetaType>
#include <QVariant>
#include <cstdint>

namespace zorvpro
{
namespace SplTypes
{
// The SPL band code as it travels in a QVariant between the SPL panel and its
// adapter: -2 vocal bands, -1 all bands, 1 octave, 3 third octave.
enum Mode : std::int32_t
{
    VocalBands = -2,
    AllBands = -1,
    Octave = 1,
    ThirdOctave = 3,
};
} // namespace SplTypes
} // namespace zorvpro

Q_DECLARE_METATYPE(zorvpro::SplTypes::Mode)

namespace zorvpro::SplTypes
{
// The band code a value carries, whether as a Mode or as a plain number;
// 0 when it carries neither.
inline Mode ModeFromVariant(const QVariant& value)
{
    if (value.userType() == qMetaTypeId<Mode>())
        return value.value<Mode>();
    bool ok = false;
    const int code = value.toInt(&ok);
    return ok ? static_cast<Mode>(code) : static_cast<Mode>(0);
}
} // namespace zorvpro::SplTypes
