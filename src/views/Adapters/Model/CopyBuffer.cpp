#include "views/Adapters/Model/CopyBuffer.h"

#include "core/Nodes/NodeFactory.h"

namespace zorvpro
{
CopyRecord CopyRecord::FromNode(const Node& node)
{
    CopyRecord record;
    record.typeName = node.TypeName();
    node.WriteProperties(record.properties);
    for (const NodePtr& child : node.GetChildren())
        if (child)
            record.children.push_back(FromNode(*child));
    return record;
}

NodePtr CopyRecord::Build() const
{
    NodePtr node = NodeFactory::Create(typeName, properties);
    if (!node)
        return nullptr;
    for (const CopyRecord& childRecord : children)
        if (NodePtr child = childRecord.Build())
            node->AddChild(child);
    return node;
}

CopyBuffer& CopyBuffer::Instance()
{
    static CopyBuffer buffer;
    return buffer;
}

void CopyBuffer::Set(std::vector<CopyRecord> newRecords, bool fromCut)
{
    std::lock_guard<std::mutex> lock(mutex);
    records = std::move(newRecords);
    cut = fromCut;
}

std::vector<CopyRecord> CopyBuffer::Records() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return records;
}

bool CopyBuffer::IsCut() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return cut;
}
} // namespace zorvpro
