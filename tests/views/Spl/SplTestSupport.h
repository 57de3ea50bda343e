// The coverage-map adapter's world without an engine: a panel that records what it is shown,
// the engine side of the field manager read by hand, and results made up from the points.
#pragma once

#include "acoustics/cluster/LoudspeakerCluster.h"
#include "acoustics/engine/DataSet.h"
#include "acoustics/engine/FieldPointsData.h"
#include "core/Nodes/QuadNode.h"
#include "core/math/Timestamp.h"
#include "data/Field/FieldMessageTypes.h"
#include "data/Nodes/LoudspeakerClusterNode.h"
#include "data/Project/ProjectDefinition.h"
#include "data/Project/ProjectSettings.h"
#include "data/Project/Venue.h"
#include "views/Adapters/Spl/SplAdapter.h"
#include "views/Render/FieldEntity.h"

#include <QMap>
#include <cfloat>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace zorvpro::test
{
class RecordingPanel : public ISplPropertiesPanel
{
public:
    void updateProperty(const QString& name, const QVariant& value) override
    {
        order.push_back(name);
        values[name] = value;
    }
    void setSliderValues(double low, double high) override { slider = {low, high}; }
    void setColorMap(ColorFunction colorOf) override { colorMap = std::move(colorOf); }
    void setSplRange(double low, double high) override { range = {low, high}; }
    void setFrequencyLabel(const QString& label) override { frequencyLabel = label; }

    std::vector<QString> order;
    QMap<QString, QVariant> values;
    std::pair<double, double> slider{0, 0};
    std::pair<double, double> range{0, 0};
    ColorFunction colorMap;
    QString frequencyLabel = "unset";
};

// Levels given by a function of the point's position; the range is that of the last read.
class MadeUpDataSet : public acoustics::DataSet
{
public:
    MadeUpDataSet(std::vector<acoustics::FieldPoint> points,
                  std::function<double(const acoustics::FieldPoint&)> level)
        : m_points(std::move(points)), m_level(std::move(level))
    {
    }
    void getSpl(SplValues& out, int32_t, double) override
    {
        out.clear();
        m_min = DBL_MAX;
        m_max = -DBL_MAX;
        for (const auto& p : m_points)
        {
            out.emplace_back(p.tag, m_level(p));
            m_min = std::min(m_min, out.back().second);
            m_max = std::max(m_max, out.back().second);
        }
    }
    void getSplRange(double& min, double& max) const override
    {
        min = m_min;
        max = m_max;
    }

private:
    std::vector<acoustics::FieldPoint> m_points;
    std::function<double(const acoustics::FieldPoint&)> m_level;
    double m_min = DBL_MAX;
    double m_max = -DBL_MAX;
};

struct Message
{
    uint32_t type;
    field::ChunkList chunks;
    field::NodeList nodes;
};

class SplAdapterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Project()->Clear(false);
        Project()->GetVenue()->RemoveAllNodes();
        adapter = std::make_unique<SplAdapter>(&panel);
        engineSide = adapter->GetEngineMessenger();
        adapter->SetMedialPlaneProvider(
            [this](const std::shared_ptr<LoudspeakerClusterNode>& cluster) -> SplAdapter::QuadPoints
            {
                const double x = cluster ? cluster->GetTransform()(0, 3) : sharedPlaneX;
                return {math::Vec3{x, 0, 0}, {x + 10, 0, 0}, {x + 10, 0, 5}, {x, 0, 5}};
            });
        QObject::connect(adapter.get(), &SplAdapter::EntityUpdate,
                         [this](bool side, bool add, const view::EntityPtr& e) {
                             updates.push_back({side, add, e.get()});
                         });
    }

    void TearDown() override
    {
        adapter.reset();
        Project()->Clear(false);
        Project()->GetVenue()->RemoveAllNodes();
    }

    static ProjectDefinition* Project() { return ProjectDefinition::Instance(); }
    static ProjectSettings& Settings() { return *Project()->GetSettings(); }

    // Ticks the poll until every task queued so far has run and its completion ran too.
    void Settle()
    {
        bool done = false;
        adapter->GetTaskQueue().Add([] {}, [&done] { done = true; });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done && std::chrono::steady_clock::now() < deadline)
        {
            adapter->ProcessEngineMessages();
            std::this_thread::yield();
        }
        ASSERT_TRUE(done) << "the task queue did not finish";
    }

    // What the engine side received since the last call, in order.
    std::vector<Message> EngineInbox()
    {
        std::vector<Message> inbox;
        while (auto m = engineSide->Receive())
            inbox.push_back({m->GetType(), m->GetChunks(), m->GetNodes()});
        return inbox;
    }

    static std::vector<uint32_t> Types(const std::vector<Message>& inbox)
    {
        std::vector<uint32_t> types;
        for (const auto& m : inbox)
            types.push_back(m.type);
        return types;
    }

    // The engine's answer for the chunk's present points, posted as a computed chunk.
    void Deliver(const field::FieldChunkPtr& chunk, std::function<double(const acoustics::FieldPoint&)> level)
    {
        // Results are kept by their creation time in milliseconds: make each one newer.
        const int64_t start = Timestamp::NowMilliseconds();
        while (Timestamp::NowMilliseconds() == start)
            std::this_thread::yield();
        auto result = std::make_shared<acoustics::FieldPointsData>(chunk->GetPoints());
        result->SetDataSet(std::make_shared<MadeUpDataSet>(chunk->GetPoints().GetPoints(), std::move(level)));
        chunk->SetDataSet(result);
        engineSide->SendChunks(field::MessageType::ChunksUpdated, {chunk});
    }

    // A result whose levels fall from top at x = 0, taken in by the poll.
    void DeliverPeak(const SplAdapter::PairingPtr& p, double top)
    {
        Deliver(p->chunk, [top](const acoustics::FieldPoint& pt) { return top - 0.1 * pt.x; });
        Settle();
    }

    // A message of the engine's (a step's end, a step given up), taken in by the poll.
    void FromEngine(uint32_t type)
    {
        engineSide->Send(type);
        Settle();
    }

    static QuadNodePtr Floor(const char* name = "floor")
    {
        return QuadNode::Create(name, {0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {0, 10, 0}, QColor(128, 128, 128),
                                1.0, 0.0);
    }

    static std::shared_ptr<LoudspeakerClusterNode> Array(double x)
    {
        auto node = LoudspeakerClusterNode::Create(acoustics::createLoudspeakerCluster());
        node->SetName("array");
        node->SetTransform(math::Mat4::Translation({x, 0, 0}));
        return node;
    }

    struct Update
    {
        bool side;
        bool add;
        view::Entity* entity;
    };

    RecordingPanel panel;
    std::unique_ptr<SplAdapter> adapter;
    field::FieldMessengerPtr engineSide;
    std::vector<Update> updates;
    double sharedPlaneX = -5.0;
};
} // namespace zorvpro::test
