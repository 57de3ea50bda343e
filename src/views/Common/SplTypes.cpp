#include "views/Common/SplTypes.h"

#include <mutex>

namespace zorvpro::SplTypes
{
void RegisterModeType()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       qRegisterMetaType<Mode>("zorvpro::SplTypes::Mode");
                       QMetaType::registerConverter<Mode, int>([](Mode m) { return static_cast<int>(m); });
                       QMetaType::registerConverter<int, Mode>([](int v) { return static_cast<Mode>(v); });
                   });
}

QVariant ToVariant(int32_t mode)
{
    RegisterModeType();
    return QVariant::fromValue(static_cast<Mode>(mode));
}

int32_t ModeFromVariant(const QVariant& value)
{
    RegisterModeType();
    if (value.userType() == qMetaTypeId<Mode>())
        return static_cast<int32_t>(value.value<Mode>());
    bool ok = false;
    const int code = value.toInt(&ok);
    return ok ? code : 0;
}
} // namespace zorvpro::SplTypes
