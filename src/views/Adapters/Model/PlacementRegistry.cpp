#include "views/Adapters/Model/PlacementRegistry.h"

#include "core/Nodes/PhysicalNode.h"
#include "core/Nodes/QuadNode.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"

#include <algorithm>
#include <cmath>

namespace zorvpro
{
namespace
{
// Wraps a coordinate into the interval of the given width about its centre; a zero (or not
// finite) width leaves it alone, since fmod by zero gives NaN.
double WrapAbout(double value, double centre, double width)
{
    if (!(width > 0.0) || !std::isfinite(width))
        return value;
    double d = std::fmod(value - centre, width);
    if (d > width / 2.0)
        d -= width;
    return centre + d;
}
} // namespace

PlacementRegistry::Defaults PlacementRegistry::GetPlacementDefaults(const NodePtr& node, bool metric)
{
    if (std::dynamic_pointer_cast<BeamSpeakerClusterNode>(node))
        return metric ? Defaults{{0, 0, 0}, {1.0, 1.0, 0}, {0.206, 0, 3.0}}
                      : Defaults{{0, 0, 0}, {0.9144, 0.9144, 0}, {0.206, 0, 3.048}};
    if (std::dynamic_pointer_cast<QuadNode>(node))
    {
        const math::Vec3 size = metric ? math::Vec3(15.0, 10.0, 0) : math::Vec3(15.24, 10.668, 0);
        return {size, size / 5.0, metric ? math::Vec3(1.0, 0, 0) : math::Vec3(0.9144, 0, 0)};
    }
    return {{3.0, 3.0, 0}, {1.5, 1.5, 0}, {0, 0, 0}};
}

math::Vec3 PlacementRegistry::NodePosition(const NodePtr& node)
{
    const auto physical = std::dynamic_pointer_cast<PhysicalNode>(node);
    if (!physical)
        return {0, 0, 0};
    return math::TransformPoint(physical->GetTransform(), {0, 0, 0});
}

PlacementRegistry::Bucket& PlacementRegistry::BucketOf(const NodePtr& node)
{
    const Node& object = *node;
    return placed[std::type_index(typeid(object))];
}

const PlacementRegistry::PlacedList& PlacementRegistry::GetNodesOfType(const NodePtr& node)
{
    return BucketOf(node).list;
}

void PlacementRegistry::RegisterNode(const NodePtr& node)
{
    if (node)
        Place(BucketOf(node), NodePosition(node), node);
}

void PlacementRegistry::UnregisterNode(const NodePtr& node)
{
    if (!node)
        return;
    Bucket& bucket = BucketOf(node);
    const auto found = bucket.entries.find(node.get());
    if (found == bucket.entries.end())
        return;
    bucket.list.erase(found->second);
    bucket.entries.erase(found);
}

void PlacementRegistry::Clear()
{
    placed.clear();
}

void PlacementRegistry::Place(Bucket& bucket, const math::Vec3& position, const NodePtr& node)
{
    const auto found = bucket.entries.find(node.get());
    if (found != bucket.entries.end())
    {
        found->second->position = position;
        return;
    }
    bucket.list.push_front({position, node});
    bucket.entries.emplace(node.get(), bucket.list.begin());
}

math::Vec3 PlacementRegistry::LatestPosition(PlacedList& list)
{
    if (list.empty())
        return {0, 0, 0};
    PlacedNode& newest = list.front();
    if (newest.node)
        newest.position = NodePosition(newest.node);
    return newest.position;
}

bool PlacementRegistry::IsOccupied(const PlacedList& list, const math::Vec3& point)
{
    return std::any_of(list.begin(), list.end(),
                       [&point](const PlacedNode& entry)
                       { return entry.position.x == point.x && entry.position.y == point.y; });
}

math::Vec3 PlacementRegistry::FindFreeSpot(const PlacedList& list, math::Vec3 start, const math::Vec3& step,
                                           const math::BBox& area)
{
    const double width = area.max.x - area.min.x;
    const double height = area.max.y - area.min.y;
    const double cx = (area.min.x + area.max.x) / 2.0;
    const double cy = (area.min.y + area.max.y) / 2.0;
    for (int round = 0; round < kMaxRounds && IsOccupied(list, start); ++round)
    {
        start = start + step;
        start.x = WrapAbout(start.x, cx, width);
        start.y = WrapAbout(start.y, cy, height);
    }
    return start;
}

void PlacementRegistry::PlaceNode(const NodePtr& node, bool metric, const math::BBox& area, int mode,
                                  bool clampToArea)
{
    PlaceNodes({node}, metric, area, mode, clampToArea);
}

void PlacementRegistry::PlaceNodes(const std::vector<NodePtr>& nodes, bool metric, const math::BBox& area,
                                   int mode, bool clampToArea)
{
    const auto first = std::find_if(nodes.begin(), nodes.end(), [](const NodePtr& n) { return bool(n); });
    if (first == nodes.end())
        return;
    const NodePtr lead = *first;
    const Defaults defaults = GetPlacementDefaults(lead, metric);
    Bucket& bucket = BucketOf(lead);
    PlacedList& list = bucket.list;
    const math::Vec3 p0 = NodePosition(lead);
    math::Vec3 base = list.empty() ? defaults.offset : LatestPosition(list);
    if (mode == kModeNew)
        base.z = defaults.offset.z;
    else if (mode == kModeCopy || mode == kModeCut)
        base.z = p0.z;
    if (clampToArea &&
        (base.x < area.min.x || base.x > area.max.x || base.y < area.min.y || base.y > area.max.y))
    {
        base.x = (area.min.x + area.max.x) / 2.0;
        base.y = (area.min.y + area.max.y) / 2.0;
    }
    base = FindFreeSpot(list, base, defaults.step, area);
    const math::Mat4 shift = math::Mat4::Translation(base - p0);
    auto move = [&shift](const NodePtr& node)
    {
        if (const auto physical = std::dynamic_pointer_cast<PhysicalNode>(node))
            physical->SetTransform(shift * physical->GetTransform());
    };
    move(lead);
    for (auto it = std::next(first); it != nodes.end(); ++it)
        if (*it)
        {
            move(*it);
            Place(bucket, NodePosition(*it), *it);
        }
    Place(bucket, base, lead);
}
} // namespace zorvpro
