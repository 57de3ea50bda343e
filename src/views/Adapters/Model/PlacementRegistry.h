#pragma once

#include "core/Nodes/Node.h"
#include "core/math/BBox.h"
#include "core/math/Vector3.h"

#include <list>
#include <typeindex>
#include <unordered_map>
#include <vector>

namespace zorvpro
{
// Where new and pasted nodes go: per node class, the positions already taken (newest first). A
// new node starts next to the newest of its class and steps on a grid, wrapping inside the
// visible plan area, to the first spot no node of its class holds. GUI thread only.
class PlacementRegistry
{
public:
    struct PlacedNode
    {
        math::Vec3 position;
        NodePtr node;
    };
    using PlacedList = std::list<PlacedNode>;

    // Placement modes: 1 puts a new node at its class's default height, 2 and 3 keep its height.
    static constexpr int kModeNew = 1;
    static constexpr int kModeCopy = 2;
    static constexpr int kModeCut = 3;
    static constexpr int kMaxRounds = 100000;

    struct Defaults
    {
        math::Vec3 size;
        math::Vec3 step;
        math::Vec3 offset;
    };
    static Defaults GetPlacementDefaults(const NodePtr& node, bool metric);
    // The translation of the node's transform; the origin for a node that has none.
    static math::Vec3 NodePosition(const NodePtr& node);

    void RegisterNode(const NodePtr& node);
    void UnregisterNode(const NodePtr& node);
    // Forgets every node, as when the project is cleared.
    void Clear();
    const PlacedList& GetNodesOfType(const NodePtr& node);
    void PlaceNode(const NodePtr& node, bool metric, const math::BBox& area, int mode, bool clampToArea);
    void PlaceNodes(const std::vector<NodePtr>& nodes, bool metric, const math::BBox& area, int mode,
                    bool clampToArea);

    static math::Vec3 LatestPosition(PlacedList& list);
    static bool IsOccupied(const PlacedList& list, const math::Vec3& point);
    // The first free point from start on; the last candidate after kMaxRounds.
    static math::Vec3 FindFreeSpot(const PlacedList& list, math::Vec3 start, const math::Vec3& step,
                                   const math::BBox& area);

private:
    // One class's list and where each of its nodes sits in it: a large project registers
    // every node, and searching the list for each one made loading it quadratic.
    struct Bucket
    {
        PlacedList list;
        std::unordered_map<const Node*, PlacedList::iterator> entries;
    };
    Bucket& BucketOf(const NodePtr& node);
    // Adds the node at the front, or updates the position of its entry.
    static void Place(Bucket& bucket, const math::Vec3& position, const NodePtr& node);

    std::unordered_map<std::type_index, Bucket> placed;
};
} // namespace zorvpro
