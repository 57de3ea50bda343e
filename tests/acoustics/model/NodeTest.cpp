#include "acoustics/model/Node.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zorvpro::acoustics;

TEST(AcousticNode, AddInsertRemove)
{
    auto parent = std::make_shared<Node>();
    auto a = std::make_shared<Node>();
    auto b = std::make_shared<Node>();
    auto c = std::make_shared<Node>();
    EXPECT_NE(a->getId(), b->getId());

    EXPECT_FALSE(parent->addChild(parent));
    EXPECT_FALSE(parent->addChild(nullptr));
    EXPECT_TRUE(parent->addChild(a));
    EXPECT_FALSE(parent->addChild(a));
    EXPECT_EQ(a->getParent(), parent.get());
    // Without a position only an empty list takes a child.
    EXPECT_FALSE(parent->insertChild(b, nullptr, false));
    EXPECT_EQ(parent->getChildren().size(), 1u);
    EXPECT_TRUE(parent->insertChild(b, a, false));
    EXPECT_TRUE(parent->insertChild(c, a, true));
    EXPECT_FALSE(parent->insertChild(c, c, true));
    EXPECT_EQ(parent->getChildren(), (std::vector<Node::Ptr>{b, a, c}));
    EXPECT_EQ(parent->lastChild(), c);
    EXPECT_EQ(parent->findChild(a->getId()), a);
    EXPECT_TRUE(parent->hasChild(b));
    EXPECT_FALSE(parent->hasChild(Node::Ptr()));
    EXPECT_EQ(parent->findChild(parent->getId()), nullptr);

    auto stranger = std::make_shared<Node>();
    auto other = std::make_shared<Node>();
    other->addChild(stranger);
    EXPECT_FALSE(parent->removeChild(stranger));
    EXPECT_EQ(stranger->getParent(), other.get());
    EXPECT_FALSE(parent->insertChild(stranger, other, true));

    EXPECT_TRUE(parent->removeChild(a));
    EXPECT_EQ(a->getParent(), nullptr);
    EXPECT_EQ(parent->getChildren(), (std::vector<Node::Ptr>{b, c}));
}

TEST(AcousticNode, CopySharesChildrenWithNewId)
{
    auto parent = std::make_shared<Node>();
    auto child = std::make_shared<Node>();
    parent->addChild(child);
    Node copy(*parent);
    EXPECT_NE(copy.getId(), parent->getId());
    EXPECT_EQ(copy.getChildren(), parent->getChildren());
    EXPECT_EQ(child->getParent(), parent.get());
}

TEST(AcousticNode, ChildOutlivingItsParentHasNoParent)
{
    auto child = std::make_shared<Node>();
    {
        auto parent = std::make_shared<Node>();
        parent->addChild(child);
    }
    EXPECT_EQ(child->getParent(), nullptr);
}
