#pragma once

#include "core/math/Vector3.h"

#include <QObject>
#include <array>
#include <cstdint>

namespace zorvpro::view
{

// The display state of one beam of a steerable array. The setters only
// store: whoever changes a beam marks the owning entity dirty.
class Beam : public QObject
{
    Q_OBJECT

public:
    // Numbered from 0 here and in the beam panel; the acoustic model, the node
    // and the project file number the same algorithms from 1.
    enum Algorithm
    {
        SymmetricSpread = 0,
        Asymmetric = 1,
        AsymmetricSpiral = 2
    };
    Q_ENUM(Algorithm)

private:
    Q_PROPERTY(bool automatic READ automatic WRITE setAutomatic)
    Q_PROPERTY(bool evenness READ evenness WRITE setEvenness)
    Q_PROPERTY(Algorithm algorithm READ algorithm WRITE setAlgorithm)
    Q_PROPERTY(double gain READ gain WRITE setGain)
    Q_PROPERTY(double topRearDistance READ topRearDistance WRITE setTopRearDistance)
    Q_PROPERTY(double topRearAngle READ topRearAngle WRITE setTopRearAngle)
    Q_PROPERTY(double bottomFrontDistance READ bottomFrontDistance WRITE setBottomFrontDistance)
    Q_PROPERTY(double bottomFrontAngle READ bottomFrontAngle WRITE setBottomFrontAngle)
    Q_PROPERTY(double steering READ steering WRITE setSteering)
    Q_PROPERTY(double spreading READ spreading WRITE setSpreading)
    Q_PROPERTY(bool smoothing READ smoothing WRITE setSmoothing)

public:
    using QObject::QObject;

public slots:
    bool automatic() const { return m_automatic; }
    void setAutomatic(bool value) { m_automatic = value; }
    bool evenness() const { return m_evenness; }
    void setEvenness(bool value) { m_evenness = value; }
    Algorithm algorithm() const { return m_algorithm; }
    void setAlgorithm(Algorithm value) { m_algorithm = value; }
    double gain() const { return m_gain; }
    void setGain(double value) { m_gain = value; }
    double topRearDistance() const { return m_topRearDistance; }
    void setTopRearDistance(double value) { m_topRearDistance = value; }
    double topRearAngle() const { return m_topRearAngle; }
    void setTopRearAngle(double value) { m_topRearAngle = value; }
    double bottomFrontDistance() const { return m_bottomFrontDistance; }
    void setBottomFrontDistance(double value) { m_bottomFrontDistance = value; }
    double bottomFrontAngle() const { return m_bottomFrontAngle; }
    void setBottomFrontAngle(double value) { m_bottomFrontAngle = value; }
    double steering() const { return m_steering; }
    void setSteering(double value) { m_steering = value; }
    double spreading() const { return m_spreading; }
    void setSpreading(double value) { m_spreading = value; }
    bool smoothing() const { return m_smoothing; }
    void setSmoothing(bool value) { m_smoothing = value; }
    void setBottomBoundingArea(const zorvpro::math::Vec3& boundP1, const zorvpro::math::Vec3& boundP2,
                               const zorvpro::math::Vec3& boundP3, const zorvpro::math::Vec3& boundP4,
                               const zorvpro::math::Vec3& boundP5);
    void bottomBoundingArea(zorvpro::math::Vec3& boundP1, zorvpro::math::Vec3& boundP2,
                            zorvpro::math::Vec3& boundP3, zorvpro::math::Vec3& boundP4,
                            zorvpro::math::Vec3& boundP5) const;

public:
    const std::array<math::Vec3, 5>& BottomBoundingArea() const { return m_bottomBoundingArea; }

private:
    bool m_automatic = false;
    bool m_evenness = true;
    Algorithm m_algorithm = SymmetricSpread;
    double m_gain = 0.0;
    double m_topRearDistance = 1.0;
    double m_topRearAngle = 0.0;
    double m_bottomFrontDistance = 1.0;
    double m_bottomFrontAngle = 0.0;
    double m_steering = 0.0;
    double m_spreading = 0.0;
    bool m_smoothing = false;
    std::array<math::Vec3, 5> m_bottomBoundingArea{};
};

// Between the acoustic model's numbering of the algorithms (1 symmetric
// spread, 2 asymmetric, 3 asymmetric spiral) and the beam's (0 to 2). A
// number outside the model's range is a symmetric spread.
Beam::Algorithm BeamAlgorithmFromModel(uint32_t modelAlgorithm);
uint32_t ModelAlgorithmFromBeam(Beam::Algorithm algorithm);

} // namespace zorvpro::view
