#include "data/Project/Venue.h"

namespace zorvpro
{

const char* const Venue::RootName = "Venue root";

Venue::Venue(QObject* parent) : QObject(parent), m_root(Node::Create())
{
    m_root->SetName(RootName);
}

Venue::~Venue() = default;

void Venue::RemoveAllNodes()
{
    while (m_root->GetChildCount() > 0)
        m_root->RemoveChildAt(0);
}

} // namespace zorvpro
