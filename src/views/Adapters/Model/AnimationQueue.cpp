#include "views/Adapters/Model/AnimationQueue.h"

namespace zorvpro
{
AnimationQueue::AnimationQueue() : QObject(nullptr), timer(nullptr) {}

AnimationQueue::~AnimationQueue()
{
    timer.stop();
    steps.clear();
}

void AnimationQueue::Start(int intervalMs)
{
    if (timer.isActive())
        return;
    connect(&timer, &QTimer::timeout, this, &AnimationQueue::Tick, Qt::UniqueConnection);
    timer.start(intervalMs);
}

AnimationStep& AnimationQueue::Append(std::function<bool(int)> step, std::function<void(bool)> done)
{
    steps.push_back(AnimationStep{std::move(step), std::move(done), 0, false});
    return steps.back();
}

void AnimationQueue::Tick()
{
    if (steps.empty())
        return;
    AnimationStep& front = steps.front();
    const bool more = front.step(front.counter);
    ++front.counter;
    if (more && !front.cancelled)
        return;
    front.done(front.cancelled);
    steps.pop_front();
}
} // namespace zorvpro
