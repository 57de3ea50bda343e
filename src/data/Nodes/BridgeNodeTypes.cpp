#include "data/Nodes/BridgeNodeTypes.h"

#include "core/Nodes/NodeFactory.h"
#include "data/Nodes/BeamSpeakerClusterNode.h"
#include "data/Nodes/LoudspeakerClusterNode.h"
#include "data/Nodes/LoudspeakerNode.h"

namespace zorvpro
{

bool RegisterBridgeNodeTypes()
{
    static const bool registered = []
    {
        bool all =
            NodeFactory::Register(LoudspeakerNode::TypeNameText, &LoudspeakerNode::CreateFromProperties);
        all = NodeFactory::Register(LoudspeakerClusterNode::TypeNameText,
                                    &LoudspeakerClusterNode::CreateFromProperties) &&
              all;
        all = NodeFactory::Register(BeamSpeakerClusterNode::TypeNameText,
                                    &BeamSpeakerClusterNode::CreateFromProperties) &&
              all;
        return all;
    }();
    return registered;
}

} // namespace zorvpro
