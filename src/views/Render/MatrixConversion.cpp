#include "views/Render/MatrixConversion.h"

namespace zorvpro::opengl
{

QMatrix4x4 ToQMatrix(const math::Mat4& matrix)
{
    QMatrix4x4 result;
    for (int row = 0; row < 4; ++row)
    {
        for (int col = 0; col < 4; ++col)
            result(row, col) = static_cast<float>(matrix(row, col));
    }
    return result;
}

} // namespace zorvpro::opengl
