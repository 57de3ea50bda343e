#pragma once

#include "core/Nodes/Node.h"
#include "core/Nodes/PropertyMap.h"

#include <mutex>
#include <string>
#include <vector>

namespace zorvpro
{
// One copied node: enough to build it again through the node factory, children included.
struct CopyRecord
{
    std::string typeName;
    PropertyMap properties;
    std::vector<CopyRecord> children;

    static CopyRecord FromNode(const Node& node);
    // A new node with new ids, children attached in order; null when the factory refuses the type.
    NodePtr Build() const;
};

// The process-wide clipboard of the editing tabs; both tabs share it so that each may offer what
// the other copied (and decide through MayPaste).
class CopyBuffer
{
public:
    static CopyBuffer& Instance();

    // Replaces the records and the cut flag together.
    void Set(std::vector<CopyRecord> newRecords, bool fromCut);
    std::vector<CopyRecord> Records() const;
    bool IsCut() const;

private:
    CopyBuffer() = default;
    mutable std::mutex mutex;
    std::vector<CopyRecord> records;
    bool cut = false;
};
} // namespace zorvpro
