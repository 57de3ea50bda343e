#pragma once

#include "acoustics/data/Loudspeaker.h"
#include "acoustics/model/BOM.h"
#include "core/Nodes/PhysicalNode.h"

#include <memory>
#include <vector>

namespace zorvpro
{

class LoudspeakerNode;
using LoudspeakerNodePtr = std::shared_ptr<LoudspeakerNode>;

// One loudspeaker (module) of a cluster in the project tree, holding the
// model it was made from.
class LoudspeakerNode : public PhysicalNode
{
public:
    static constexpr const char* TypeNameText = "LoudspeakerNode";

    // An empty model throws std::bad_alloc.
    static LoudspeakerNodePtr Create(std::shared_ptr<acoustics::Loudspeaker> model);
    // The node factory's creator: the model is looked up by "LoudspeakerName".
    static NodePtr CreateFromProperties(const PropertyMap& properties);

    std::string TypeName() const override;
    void WriteProperties(PropertyMap& properties) const override;

    const std::shared_ptr<acoustics::Loudspeaker>& GetModel() const { return m_model; }
    acoustics::BOM GetBOM() const;
    std::vector<acoustics::DXFFace> GetDxfFaces() const;
    // Height of the outline's top above the model's own origin (0 without an outline). An
    // array hangs from its top: a beam-speaker array's origin is that point, not the model origin.
    double GetOutlineTop() const;

protected:
    explicit LoudspeakerNode(std::shared_ptr<acoustics::Loudspeaker> model);

private:
    std::shared_ptr<acoustics::Loudspeaker> m_model;
};

// Loads every data set of the user's "Loudspeakers" folder (under the
// writable application-data location) into the loudspeaker library.
void LoadUserLoudspeakers();
// LoadUserLoudspeakers once per process, on first use, from any thread.
void EnsureUserLoudspeakersLoaded();
// A new node for the named model; empty when the library has no such model.
LoudspeakerNodePtr CreateLoudspeakerNode(const std::string& modelName);

} // namespace zorvpro
