#pragma once

#include "acoustics/beam/BeamConstraints.h"
#include "acoustics/model/PropChange.h"

#include <mutex>

namespace zorvpro::acoustics
{

// Shared part of every algorithm's constraints: the stored values, the limits
// that do not depend on the algorithm and the common setters.
//
// Lock order (fixed for the whole beam chain): this object's lock, then its
// PropChange lock, then the listening beam solver's lock, then the cluster's,
// then the engine's change collection. Every operation holds this object's
// lock across its recomputation and its publication, so listeners (which may
// read the object back on the same thread) always see both descriptions
// consistent.
//
// Change code 11 is published once per effective change of a public
// operation: setters that run other setters (point setters, the module count,
// the asymmetric steering that moves the top point) publish once, at the end
// of the outermost one, after every dependent value was recomputed.
class BeamConstraintsImpl : public virtual BeamConstraints, public PropChange
{
public:
    static constexpr uint32_t kChangeCode = BeamChanged;
    static constexpr double kDefaultModuleHeight = static_cast<double>(0.984f);
    static constexpr double kDefaultDistance = 15.0;
    static constexpr double kMinPointReach = 1.4;

    ~BeamConstraintsImpl() override = default;

    // The object's own lock. The beam solver takes it before its own so that a
    // solve never waits for this lock while holding the beam's.
    RecursiveTimedMutex& getLock() { return mutex; }

    // Recompute the top and bottom angles from steering and spreading.
    virtual void applySteeringToPoints() {}
    // Recompute steering and spreading from the two points.
    virtual void applyPointsToSteering() {}

    Angle getMaxSpreadingAngle() override;
    double getMinBottomDistance() override;
    double getMinTopDistance() override;
    bool isSteeringAngleValid(Angle angle) override;
    bool isSpreadingAngleValid(Angle angle) override;
    uint32_t getModuleCount() override;
    Angle getSteeringAngle() override;
    Angle getSpreadingAngle() override;
    bool isShadingOn() override;
    Angle getTopAngle() override;
    Angle getBottomAngle() override;
    double getBottomDistance() override;
    double getTopDistance() override;
    math::Vec3 getTopPoint() override;
    math::Vec3 getBottomPoint() override;
    bool setModuleCount(uint32_t count) override;
    void setShadingOn(bool on) override;
    bool setSteeringAngle(Angle& angle, Angle& topAngle, Angle& bottomAngle) override;
    bool setSteeringAngle(Angle& angle) override;
    bool setSpreadingAngle(Angle& angle, Angle& topAngle, Angle& bottomAngle) override;
    bool setSpreadingAngle(Angle& angle) override;
    bool setTopPoint(Angle& angle, double& distance, Angle& steering, Angle& spreading) override;
    bool setTopPoint(Angle& angle, double& distance) override;
    bool setBottomPoint(Angle& angle, double& distance, Angle& steering, Angle& spreading) override;
    bool setBottomPoint(Angle& angle, double& distance) override;
    bool setTopAngle(Angle& angle, Angle& steering, Angle& spreading) override;
    bool setTopAngle(Angle& angle) override;
    bool setBottomAngle(Angle& angle, Angle& steering, Angle& spreading) override;
    bool setBottomAngle(Angle& angle) override;
    bool setTopDistance(double distance) override;
    bool setBottomDistance(double distance) override;
    double getArrayLength() override;
    void recalculateSteering() override;
    void setPoints(Angle topAngle, double topDistance, Angle bottomAngle, double bottomDistance) override;
    void restoreValues(Angle steering, Angle spreading, Angle topAngle, double topDistance, Angle bottomAngle,
                       double bottomDistance, bool shading) override;

protected:
    BeamConstraintsImpl() = default;

    // Groups the changes of one public operation into a single publication.
    // Open one at the start of every public setter (after taking the lock)
    // and call finish() at its end.
    class ChangeScope
    {
    public:
        explicit ChangeScope(BeamConstraintsImpl& owner);
        ~ChangeScope();
        void finish();
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;

    private:
        BeamConstraintsImpl& owner;
    };

    // Records that a value changed; published by the outermost ChangeScope.
    void markChanged() { changePending = true; }

    // A NaN request is refused: the stored value is written back into it.
    static bool refused(Angle& angle, Angle stored);
    static bool unchanged(double a, double b);
    static double minReachFor(Angle angle);
    // Pulls angle into [minimum, maximum]; false when it had to.
    static bool clampAngle(Angle& angle, Angle minimum, Angle maximum);

    // The checked setters' common body: refuse NaN, limit, store when it
    // differs, recompute the other description and record the change.
    // Steering and spreading (zero only when unsupported) move the points.
    bool storeBeamAngle(Angle& angle, Angle& stored, bool supported, Angle minimum, Angle maximum);
    // A point's angle or distance moves steering and spreading.
    bool storePointAngle(Angle& angle, Angle& stored, Angle minimum, Angle maximum);
    bool storePointDistance(double distance, double& stored, double minimum);

    using Lock = ScopedLock;

    double moduleHeight = kDefaultModuleHeight;
    uint32_t moduleCount = 0;
    Angle steeringAngle;
    Angle spreadingAngle;
    Angle topAngle;
    Angle bottomAngle;
    double topDistance = kDefaultDistance;
    double bottomDistance = kDefaultDistance;
    bool shadingOn = false;
    RecursiveTimedMutex mutex;

private:
    int changeDepth = 0;
    bool changePending = false;
};

} // namespace zorvpro::acoustics
