#pragma once

// Fakes and helpers of the field pipeline tests.

#include "acoustics/engine/DataSet.h"
#include "acoustics/engine/FieldPointsData.h"
#include "acoustics/engine/IZorvAcoustics.h"
#include "data/Field/DebugStream.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zorvpro::field::testing
{

// Records what the handler asks of the engine, as words ("set:<id>", "calculate", ...).
class RecordingEngine : public acoustics::IZorvAcoustics
{
public:
    Version getVersion() const override { return {}; }
    void start() override {}
    void requestStop() override { Record("requestStop"); }
    void addSurface(std::weak_ptr<acoustics::ISurface>) override {}
    void removeSurface(std::weak_ptr<acoustics::ISurface>) override {}
    void addCluster(std::shared_ptr<acoustics::LoudspeakerCluster>) override { Record("addCluster"); }
    void removeCluster(std::shared_ptr<acoustics::LoudspeakerCluster>) override { Record("removeCluster"); }
    void setFieldPoints(uint64_t id, std::shared_ptr<acoustics::FieldPoints> points) override
    {
        Record("set:" + std::to_string(id), [&] { submitted[id] = points; });
    }
    void removeFieldPoints(uint64_t id) override { Record("remove:" + std::to_string(id)); }
    void setCalculationEnabled(bool) override {}
    bool isCalculationEnabled() const override { return false; }
    void calculate(bool wait) override
    {
        if (throwOnCalculate)
            throw std::runtime_error("calculation refused");
        Record(wait ? "calculate:wait" : "calculate");
    }
    std::shared_ptr<acoustics::FieldPointsData> getDataSet(uint64_t id) const override
    {
        std::lock_guard<std::mutex> guard(lock);
        auto it = results.find(id);
        return it == results.end() ? nullptr : it->second;
    }
    void addCalcListener(acoustics::CalcListener*) override { Record("listen"); }
    void removeCalcListener(acoustics::CalcListener*) override { Record("unlisten"); }
    bool isBusy() const override { return false; }

    void Record(const std::string& call, const std::function<void()>& also = {})
    {
        std::lock_guard<std::mutex> guard(lock);
        calls.push_back(call);
        if (also)
            also();
    }
    std::vector<std::string> Calls() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return calls;
    }

    mutable std::mutex lock;
    std::vector<std::string> calls;
    std::map<uint64_t, std::shared_ptr<acoustics::FieldPoints>> submitted;
    std::map<uint64_t, std::shared_ptr<acoustics::FieldPointsData>> results;
    bool throwOnCalculate = false;
};

// A data set whose only property that matters here is its creation time.
class StampedDataSet : public acoustics::DataSet
{
public:
    void getSpl(SplValues& out, int32_t, double) override { out.clear(); }
    void getSplRange(double& min, double& max) const override { min = max = 0; }
};

// A result carrying a data set made strictly later than every one made before
// (the clock has millisecond steps: wait for the next one, with a deadline).
inline std::shared_ptr<acoustics::FieldPointsData> NextResult(bool withData = true)
{
    static int64_t last = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Timestamp::NowMilliseconds() <= last && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    auto result = std::make_shared<acoustics::FieldPointsData>();
    if (withData)
    {
        result->SetDataSet(std::make_shared<StampedDataSet>());
        last = result->GetDataSet()->GetTimestamp().Milliseconds();
    }
    return result;
}

// Collects the debug stream while it lives.
class DebugLines
{
public:
    DebugLines()
    {
        SetDebugWriter([this](const std::string& line) { lines.push_back(line); });
    }
    ~DebugLines() { SetDebugWriter({}); }
    std::vector<std::string> lines;
};

// Aborts the process when the test is not done by the deadline: a deadlock
// must fail the run instead of hanging it.
class Watchdog
{
public:
    explicit Watchdog(std::chrono::seconds limit, std::string what) : what(std::move(what))
    {
        thread = std::thread(
            [this, limit]
            {
                std::unique_lock<std::mutex> guard(lock);
                if (!wake.wait_for(guard, limit, [this] { return done; }))
                {
                    std::cerr << "Watchdog: " << this->what << " did not finish (deadlock)" << std::endl;
                    std::abort();
                }
            });
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            done = true;
        }
        wake.notify_all();
        thread.join();
    }

private:
    std::string what;
    std::mutex lock;
    std::condition_variable wake;
    bool done = false;
    std::thread thread;
};

// Polls the condition until it holds or the deadline passes.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace zorvpro::field::testing
