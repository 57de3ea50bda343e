#include "views/Render/RenderMetaTypes.h"

namespace zorvpro::view
{
void RegisterRenderMetaTypes()
{
    qRegisterMetaType<std::string>("std::string");
    qRegisterMetaType<math::Mat4>("zorvpro::math::Mat4");
    qRegisterMetaType<math::BBox>("zorvpro::math::BBox");
    qRegisterMetaType<math::Vec3>("zorvpro::math::Vec3");
}
} // namespace zorvpro::view
