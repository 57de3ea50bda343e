#pragma once

#include <QMetaType>
#include <QVariant>
#include <cstdint>

namespace zorvpro::SplTypes
{
// The band in which coverage maps show their levels: -2 vocal bands, -1 all bands, 1 octave,
// 3 third octave. Its own type so that it travels in a QVariant as itself.
enum Mode : int32_t
{
    VocalBands = -2,
    AllBands = -1,
    Octave = 1,
    ThirdOctave = 3,
};

// Registers the type and its conversions to and from int; safe to call more than once.
void RegisterModeType();

QVariant ToVariant(int32_t mode);
// The band code held by the value: a Mode, or anything that converts to an integer. A value that
// cannot be converted reads as 0.
int32_t ModeFromVariant(const QVariant& value);
} // namespace zorvpro::SplTypes

Q_DECLARE_METATYPE(zorvpro::SplTypes::Mode)
