#include "views/Render/Beam.h"

namespace zorvpro::view
{

void Beam::setBottomBoundingArea(const math::Vec3& boundP1, const math::Vec3& boundP2,
                                 const math::Vec3& boundP3, const math::Vec3& boundP4,
                                 const math::Vec3& boundP5)
{
    m_bottomBoundingArea = {boundP1, boundP2, boundP3, boundP4, boundP5};
}

void Beam::bottomBoundingArea(math::Vec3& boundP1, math::Vec3& boundP2, math::Vec3& boundP3,
                              math::Vec3& boundP4, math::Vec3& boundP5) const
{
    boundP1 = m_bottomBoundingArea[0];
    boundP2 = m_bottomBoundingArea[1];
    boundP3 = m_bottomBoundingArea[2];
    boundP4 = m_bottomBoundingArea[3];
    boundP5 = m_bottomBoundingArea[4];
}

Beam::Algorithm BeamAlgorithmFromModel(uint32_t modelAlgorithm)
{
    switch (modelAlgorithm)
    {
    case 2:
        return Beam::Asymmetric;
    case 3:
        return Beam::AsymmetricSpiral;
    default:
        return Beam::SymmetricSpread;
    }
}

uint32_t ModelAlgorithmFromBeam(Beam::Algorithm algorithm)
{
    switch (algorithm)
    {
    case Beam::Asymmetric:
        return 2;
    case Beam::AsymmetricSpiral:
        return 3;
    default:
        return 1;
    }
}

} // namespace zorvpro::view
