#pragma once

#include "acoustics/engine/CalcListener.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace zorvpro::acoustics::testing
{

// Writes each call as a word: "started", "finished", "abandoned", "ready:<id>".
class RecordingListener : public CalcListener
{
public:
    void calcStarted() override { record("started"); }
    void calcStateChanged(bool abandoned) override { record(abandoned ? "abandoned" : "finished"); }
    void dataSetReady(uint64_t id) override { record("ready:" + std::to_string(id)); }

    std::vector<std::string> events() const
    {
        std::lock_guard<std::mutex> guard(mutex);
        return log;
    }

    std::string joined() const
    {
        std::string text;
        for (const auto& event : events())
            text += (text.empty() ? "" : " ") + event;
        return text;
    }

    void clear()
    {
        std::lock_guard<std::mutex> guard(mutex);
        log.clear();
    }

    // Blocks until an event with this text has been recorded (count times in total); false
    // after a generous limit, so that a fault fails the test instead of hanging it.
    bool waitFor(const std::string& event, size_t count = 1)
    {
        std::unique_lock<std::mutex> guard(mutex);
        return changed.wait_for(guard, std::chrono::seconds(20),
                                [&]
                                {
                                    size_t seen = 0;
                                    for (const auto& e : log)
                                        seen += e == event ? 1 : 0;
                                    return seen >= count;
                                });
    }

private:
    void record(const std::string& event)
    {
        {
            std::lock_guard<std::mutex> guard(mutex);
            log.push_back(event);
        }
        changed.notify_all();
    }

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> log;
};

} // namespace zorvpro::acoustics::testing
