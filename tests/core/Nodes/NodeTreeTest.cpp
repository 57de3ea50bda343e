#include "core/Nodes/NodeFactory.h"
#include "core/Nodes/NodeIterators.h"
#include "core/Nodes/PhysicalNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvpro
{
namespace
{

// Records its hooks so tests can see the order of attach and detach calls.
class RecordingNode : public Node
{
public:
    static std::shared_ptr<RecordingNode> Create(std::vector<std::string>* journal, const std::string& name)
    {
        std::shared_ptr<RecordingNode> node(new RecordingNode(journal));
        InitSelf(node);
        node->SetName(name);
        return node;
    }

    void OnAttached(const NodePtr& self) override
    {
        EXPECT_EQ(self.get(), this);
        m_journal->push_back("attach " + GetName() + " to " + GetParent()->GetName());
    }
    void OnDetached(const NodePtr& self) override
    {
        EXPECT_EQ(self.get(), this);
        m_journal->push_back("detach " + GetName());
    }

private:
    explicit RecordingNode(std::vector<std::string>* journal) : m_journal(journal) {}
    std::vector<std::string>* m_journal;
};

NodePtr Named(const std::string& name)
{
    NodePtr node = Node::Create();
    node->SetName(name);
    return node;
}

std::vector<std::string> WalkNames(const NodePtr& root)
{
    std::vector<std::string> names;
    for (auto it = TreeIter::Begin(root); it != TreeIter::End(); ++it)
        names.push_back((*it)->GetName());
    return names;
}

TEST(NodeTreeTest, NewNodeHasDefaultNameNoLinksAndIncreasingId)
{
    NodePtr first = Node::Create();
    NodePtr second = PhysicalNode::Create();
    EXPECT_EQ(second->GetName(), "<unnamed node>");
    EXPECT_FALSE(second->GetParent());
    EXPECT_EQ(second->GetChildCount(), 0u);
    EXPECT_GT(second->GetId(), first->GetId());
    EXPECT_EQ(second->GetSelf(), second);

    // Ids drawn without a node come from the same counter.
    const uint64_t drawn = HasUniqueId::NextId();
    EXPECT_GT(drawn, second->GetId());
    NodePtr third = Node::Create();
    EXPECT_GT(third->GetId(), drawn);
    EXPECT_GT(HasUniqueId::NextId(), third->GetId());
}

TEST(NodeTreeTest, AddingAChildWithAnotherParentMovesIt)
{
    std::vector<std::string> journal;
    NodePtr oldParent = Named("old");
    NodePtr newParent = Named("new");
    NodePtr sibling = Named("sibling");
    newParent->AddChild(sibling);
    auto child = RecordingNode::Create(&journal, "child");

    oldParent->AddChild(child);
    newParent->AddChild(child);

    EXPECT_EQ(oldParent->GetChildCount(), 0u);
    ASSERT_EQ(newParent->GetChildCount(), 2u);
    EXPECT_EQ(newParent->GetChild(1), child);
    EXPECT_EQ(child->GetParent(), newParent);
    EXPECT_EQ(journal,
              (std::vector<std::string>{"attach child to old", "detach child", "attach child to new"}));
}

TEST(NodeTreeTest, GetChildOutOfRangeIsEmpty)
{
    NodePtr parent = Named("p");
    parent->AddChild(Named("a"));
    EXPECT_TRUE(parent->GetChild(0));
    EXPECT_FALSE(parent->GetChild(1));
}

TEST(NodeTreeTest, PreOrderWalkStaysInsideItsSubtree)
{
    NodePtr n1 = Named("N1"), n2 = Named("N2"), n3 = Named("N3"), n4 = Named("N4"), n5 = Named("N5");
    n1->AddChild(n2);
    n1->AddChild(n3);
    n2->AddChild(n4);
    n3->AddChild(n5);

    EXPECT_EQ(WalkNames(n1), (std::vector<std::string>{"N1", "N2", "N4", "N3", "N5"}));
    EXPECT_EQ(WalkNames(n2), (std::vector<std::string>{"N2", "N4"}));
    EXPECT_EQ(WalkNames(n4), (std::vector<std::string>{"N4"}));
    EXPECT_TRUE(WalkNames(NodePtr()).empty());
}

TEST(NodeTreeTest, IndexedWalkVisitsChildrenInOrder)
{
    NodePtr parent = Named("p");
    parent->AddChild(Named("a"));
    parent->AddChild(Named("b"));
    std::vector<std::string> names;
    for (auto it = IndexedIter::Begin(parent->GetChildren()); it != IndexedIter::End(parent->GetChildren());
         ++it)
        names.push_back((*it)->GetName());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b"}));
}

TEST(NodeTreeTest, FindAndRemoveById)
{
    NodePtr root = Named("root"), a = Named("a"), b = Named("b"), other = Named("other");
    root->AddChild(a);
    a->AddChild(b);

    EXPECT_EQ(root->FindById(root->GetId()), root);
    EXPECT_EQ(root->FindById(b->GetId()), b);
    EXPECT_FALSE(root->FindById(other->GetId()));
    EXPECT_FALSE(a->FindById(root->GetId()));

    EXPECT_EQ(root->RemoveNodeById(root->GetId()), 0);
    EXPECT_EQ(root->RemoveNodeById(other->GetId()), 0);
    EXPECT_EQ(root->RemoveNodeById(b->GetId()), 1);
    EXPECT_EQ(a->GetChildCount(), 0u);
    // Removed children keep their old parent link but are no longer found.
    EXPECT_EQ(a->RemoveChild(b), 0);
    EXPECT_FALSE(root->FindById(b->GetId()));
}

TEST(NodeTreeTest, NextSiblingIsFoundById)
{
    NodePtr parent = Named("p"), a = Named("a"), b = Named("b"), stranger = Named("s");
    parent->AddChild(a);
    parent->AddChild(b);
    EXPECT_EQ(Node::GetNextSibling(parent, a), b);
    EXPECT_FALSE(Node::GetNextSibling(parent, b));
    EXPECT_FALSE(Node::GetNextSibling(parent, stranger));
}

TEST(NodeTreeTest, RemovingChildrenNotifiesAndShiftsTheRest)
{
    std::vector<std::string> journal;
    NodePtr parent = Named("p");
    auto first = RecordingNode::Create(&journal, "first");
    auto second = RecordingNode::Create(&journal, "second");
    parent->AddChild(first);
    parent->AddChild(second);
    journal.clear();

    parent->RemoveChildAt(0);
    EXPECT_EQ(journal, std::vector<std::string>{"detach first"});
    EXPECT_EQ(parent->GetChild(0), second);

    // Indices outside the children are ignored instead of corrupting memory.
    parent->RemoveChildAt(5);
    parent->RemoveChildAt(-1);
    EXPECT_EQ(parent->GetChildCount(), 1u);
}

TEST(NodeTreeTest, ANodeCannotBecomeItsOwnDescendant)
{
    NodePtr root = Named("root"), child = Named("child");
    root->AddChild(child);
    child->AddChild(root);
    child->AddChild(child);
    root->AddChild(nullptr);

    EXPECT_FALSE(root->GetParent());
    EXPECT_EQ(child->GetChildCount(), 0u);
    EXPECT_EQ(root->GetChildCount(), 1u);
    EXPECT_EQ(WalkNames(root), (std::vector<std::string>{"root", "child"}));
}

TEST(NodeFactoryTest, CreatesRegisteredTypesByExactName)
{
    PropertyMap properties{{"Name", "n"}, {"Transform", "| 1 0 0 0 || 0 1 0 0 || 0 0 1 0 || 0 0 0 1 |"}};
    NodePtr node = NodeFactory::Create("Node", properties);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->TypeName(), "Node");
    EXPECT_EQ(node->GetName(), "n");
    EXPECT_EQ(node->GetSelf(), node);

    EXPECT_EQ(NodeFactory::Create("PhysicalNode", properties)->TypeName(), "PhysicalNode");
    EXPECT_FALSE(NodeFactory::Create("quadnode", properties));
    EXPECT_FALSE(NodeFactory::Create("Unknown", properties));
}

TEST(NodeFactoryTest, NodeWithoutNameIsRefusedButPhysicalNodeIsKept)
{
    EXPECT_FALSE(NodeFactory::Create("Node", PropertyMap{}));
    NodePtr physical =
        NodeFactory::Create("PhysicalNode", PropertyMap{{"Name", "p"}, {"Transform", "garbage"}});
    ASSERT_TRUE(physical);
    EXPECT_EQ(physical->GetName(), "p");
}

TEST(NodeFactoryTest, LaterLayersRegisterCreatorsOnce)
{
    int calls = 0;
    auto creator = [&calls](PropertyMap properties) -> NodePtr
    {
        ++calls;
        NodePtr node = Node::Create();
        node->SetName(properties["Name"]);
        return node;
    };
    EXPECT_TRUE(NodeFactory::Register("TestOnlyNode", creator));
    EXPECT_FALSE(NodeFactory::Register("TestOnlyNode", creator));
    EXPECT_FALSE(NodeFactory::Register("Node", creator));
    EXPECT_FALSE(NodeFactory::Register("Empty", NodeFactory::Creator()));

    NodePtr node = NodeFactory::Create("TestOnlyNode", PropertyMap{{"Name", "x"}});
    ASSERT_TRUE(node);
    EXPECT_EQ(node->GetName(), "x");
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(NodeFactory::Create("Empty", PropertyMap{}));
}

} // namespace
} // namespace zorvpro
