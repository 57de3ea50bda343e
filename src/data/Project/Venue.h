#pragma once

#include "core/Nodes/Node.h"

#include <QObject>

namespace zorvpro
{

// Owner of the venue's node tree. The root is never replaced: loading and
// clearing change only its children.
class Venue : public QObject
{
    Q_OBJECT

public:
    explicit Venue(QObject* parent = nullptr);
    ~Venue() override;

    NodePtr GetRoot() const { return m_root; }

    // Removes the root's children, always the first, until none is left.
    void RemoveAllNodes();

    static const char* const RootName;

private:
    NodePtr m_root;
};

} // namespace zorvpro
