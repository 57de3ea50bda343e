#include "views/Common/AppThemeSource.h"

namespace zorvpro
{
namespace
{
const IAppThemeSource* gSource = nullptr;
} // namespace

void SetAppThemeSource(const IAppThemeSource* source)
{
    gSource = source;
}

int CurrentAppTheme()
{
    return gSource != nullptr ? gSource->getTheme() : 1;
}
} // namespace zorvpro
