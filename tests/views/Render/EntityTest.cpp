#include "views/Render/Entity.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

using namespace zorvpro;
using namespace zorvpro::view;

namespace
{
class CountingGeometry : public Geometry
{
public:
    explicit CountingGeometry(int& releases) : m_releases(releases) {}
    void Release() override { ++m_releases; }

private:
    int& m_releases;
};

class ProbeEntity : public Entity
{
public:
    ProbeEntity() : Entity("Probe") {}
    bool RebuildGeometry() override
    {
        ++rebuilds;
        return rebuildSucceeds;
    }
    void SelectionChanged() override { ++selectionCalls; }
    void Attach(const GeometryPtr& geometry) { AddGeometry(geometry); }

    bool rebuildSucceeds = true;
    int rebuilds = 0;
    int selectionCalls = 0;
};

constexpr uint64_t kViewA = 1001;
constexpr uint64_t kViewB = 1002;

// A clean entity that views A and B have both drawn.
void MakeCleanAndShown(ProbeEntity& entity)
{
    entity.setDirty(false);
    entity.MarkShownIn(kViewA);
    entity.MarkShownIn(kViewB);
}
} // namespace

TEST(EntityTest, StartsDirtyWithDefaultsAndFreshId)
{
    Entity first("Stage");
    Entity second("Balcony");
    EXPECT_EQ(first.getName(), "Stage");
    EXPECT_TRUE(first.isDirty());
    EXPECT_TRUE(first.isVisible());
    EXPECT_TRUE(first.isTransparent());
    EXPECT_FALSE(first.isLocked());
    EXPECT_FALSE(first.isSelected());
    EXPECT_FALSE(first.isMuted());
    EXPECT_EQ(first.getTransform(), math::Mat4::Identity());
    EXPECT_TRUE(first.NeedsDrawIn(kViewA));
    EXPECT_GT(second.GetId(), first.GetId());
    EXPECT_FALSE(first.BoundingBox().has_value());
    EXPECT_EQ(first.Pick(math::Ray({0, 0, 10}, {0, 0, -1}), nullptr, 50.0), nullptr);
    // The property system sees the same values.
    EXPECT_EQ(first.property("name").value<std::string>(), "Stage");
    EXPECT_EQ(first.property("transform").value<math::Mat4>(), math::Mat4::Identity());
}

TEST(EntityTest, EachDrawingPropertyDirtiesOnceAndOnlyOnChange)
{
    struct Case
    {
        const char* name;
        std::function<void(Entity&, bool)> set;
        std::function<bool(const Entity&)> get;
        void (Entity::*signal)(bool);
    };
    const Case cases[] = {
        {"transparent", &Entity::setTransparent, &Entity::isTransparent, &Entity::transparentChanged},
        {"visible", &Entity::setVisible, &Entity::isVisible, &Entity::visibleChanged},
        {"locked", &Entity::setLocked, &Entity::isLocked, &Entity::lockedChanged},
        {"selected", &Entity::setSelected, &Entity::isSelected, &Entity::selectedChanged},
        {"muted", &Entity::setMuted, &Entity::isMuted, &Entity::mutedChanged},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ProbeEntity entity;
        MakeCleanAndShown(entity);
        QSignalSpy dirtySpy(&entity, &Entity::dirtyChanged);
        QSignalSpy propertySpy(&entity, c.signal);
        const bool current = c.get(entity);

        c.set(entity, current);
        EXPECT_EQ(dirtySpy.count(), 0);
        EXPECT_EQ(propertySpy.count(), 0);
        EXPECT_FALSE(entity.isDirty());
        EXPECT_FALSE(entity.NeedsDrawIn(kViewA));

        c.set(entity, !current);
        EXPECT_EQ(c.get(entity), !current);
        ASSERT_EQ(propertySpy.count(), 1);
        EXPECT_EQ(propertySpy.at(0).at(0).toBool(), !current);
        ASSERT_EQ(dirtySpy.count(), 1);
        EXPECT_TRUE(dirtySpy.at(0).at(0).toBool());
        // Both views that had drawn it must repaint.
        EXPECT_TRUE(entity.NeedsDrawIn(kViewA));
        EXPECT_TRUE(entity.NeedsDrawIn(kViewB));

        // A second change in the same go raises no second dirty signal.
        entity.setName("Renamed");
        c.set(entity, current);
        EXPECT_EQ(dirtySpy.count(), 1);
        EXPECT_EQ(propertySpy.count(), 2);
        EXPECT_EQ(entity.selectionCalls, std::string(c.name) == "selected" ? 2 : 0);
    }
}

TEST(EntityTest, TransformAndNameWriters)
{
    ProbeEntity entity;
    MakeCleanAndShown(entity);
    QSignalSpy dirtySpy(&entity, &Entity::dirtyChanged);
    QSignalSpy transformSpy(&entity, &Entity::transformChanged);
    QSignalSpy nameSpy(&entity, &Entity::nameChanged);

    entity.setTransform(math::Mat4::Identity());
    entity.setName("Probe");
    EXPECT_EQ(dirtySpy.count() + transformSpy.count() + nameSpy.count(), 0);

    entity.setName("Gallery");
    ASSERT_EQ(nameSpy.count(), 1);
    EXPECT_EQ(nameSpy.at(0).at(0).value<std::string>(), "Gallery");
    EXPECT_FALSE(entity.isDirty());
    EXPECT_FALSE(entity.NeedsDrawIn(kViewA));

    math::Mat4 moved;
    moved(1, 3) = 1e-9; // a single differing entry counts
    entity.setTransform(moved);
    EXPECT_TRUE(entity.isDirty());
    EXPECT_EQ(dirtySpy.count(), 1);
    ASSERT_EQ(transformSpy.count(), 1);
    EXPECT_EQ(transformSpy.at(0).at(0).value<math::Mat4>(), moved);
    EXPECT_TRUE(entity.NeedsDrawIn(kViewB));
}

TEST(EntityTest, ClearingDirtyRebuildsAndFailureKeepsItDirty)
{
    ProbeEntity entity;
    QSignalSpy dirtySpy(&entity, &Entity::dirtyChanged);
    entity.rebuildSucceeds = false;
    entity.MarkShownIn(kViewA);
    entity.setDirty(false);
    EXPECT_EQ(entity.rebuilds, 1);
    EXPECT_TRUE(entity.isDirty());
    EXPECT_EQ(dirtySpy.count(), 0);
    EXPECT_TRUE(entity.NeedsDrawIn(kViewA));

    // A view recorded the still-dirty entity; a later change must reach it.
    entity.MarkShownIn(kViewA);
    entity.setVisible(false);
    EXPECT_TRUE(entity.NeedsDrawIn(kViewA));
    EXPECT_EQ(dirtySpy.count(), 0);

    entity.rebuildSucceeds = true;
    entity.setDirty(false);
    EXPECT_FALSE(entity.isDirty());
    ASSERT_EQ(dirtySpy.count(), 1);
    EXPECT_FALSE(dirtySpy.at(0).at(0).toBool());
    entity.setDirty(false);
    EXPECT_EQ(entity.rebuilds, 2);

    entity.MarkShownIn(kViewA);
    entity.setDirty(true);
    EXPECT_TRUE(entity.NeedsDrawIn(kViewA));
    EXPECT_EQ(dirtySpy.count(), 2);
}

TEST(EntityTest, GeometriesAreReleasedOnRequestAndOnDestruction)
{
    int releases = 0;
    {
        ProbeEntity entity;
        entity.Attach(std::make_shared<CountingGeometry>(releases));
        entity.Attach(std::make_shared<CountingGeometry>(releases));
        entity.Attach(nullptr);
        EXPECT_EQ(entity.GetGeometries().size(), 2u);
        entity.ReleaseGeometry();
        EXPECT_EQ(releases, 2);
    }
    EXPECT_EQ(releases, 4);
}
