#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <list>

namespace zorvpro
{
// Frame-by-frame steps run from a timer on the GUI thread, one step at a time in arrival order.
struct AnimationStep
{
    // Called with the step's own tick counter (0 first); true while it has more to do.
    std::function<bool(int)> step;
    // Called once when the step ends; true when it was cancelled.
    std::function<void(bool)> done;
    std::int32_t counter = 0;
    bool cancelled = false;
};

class AnimationQueue : public QObject
{
    Q_OBJECT

public:
    AnimationQueue();
    // Remaining steps are dropped without their done functions.
    ~AnimationQueue() override;

    // Starts the timer once; a second call keeps the first interval and connection.
    void Start(int intervalMs);
    // The returned step may be cancelled by the caller until it is done.
    AnimationStep& Append(std::function<bool(int)> step, std::function<void(bool)> done);
    bool IsActive() const { return timer.isActive(); }
    int Interval() const { return timer.interval(); }
    std::size_t Count() const { return steps.size(); }

public slots:
    void Tick();

private:
    QTimer timer;
    std::list<AnimationStep> steps;
};
} // namespace zorvpro
