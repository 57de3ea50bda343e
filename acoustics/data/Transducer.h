#pragma once

#include "acoustics/model/Node.h"
#include "acoustics/model/Placement.h"
#include "acoustics/model/Polar.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorvpro::acoustics
{

// One driver of a loudspeaker: where it sits and points, how loud it plays
// relative to the others, and its directivity once assembled.
class Transducer : public Node, public Placement
{
public:
    Transducer(std::string name, uint32_t index, double levelFactor, uint32_t polarId,
               uint32_t transformerId);
    // A deep copy as a fresh, unattached node; the placement is copied under
    // the source's lock and the (never changed) directivity record is shared.
    Transducer(const Transducer& other);
    ~Transducer() override = default;

    const std::string& getName() const { return name; }
    uint32_t getIndex() const { return index; }
    double getLevelFactor() const { return levelFactor; }
    uint32_t getPolarId() const { return polarId; }
    uint32_t getTransformerId() const { return transformerId; }
    std::shared_ptr<Polar> getPolar() const { return polar; }
    void setPolar(std::shared_ptr<Polar> p) { polar = std::move(p); }

private:
    std::string name;
    uint32_t index = 0;
    double levelFactor = 1.0;
    uint32_t polarId = 0;
    uint32_t transformerId = 0;
    std::shared_ptr<Polar> polar;
};

} // namespace zorvpro::acoustics
