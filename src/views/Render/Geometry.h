#pragma once

#include <memory>

namespace zorvpro::view
{

// A drawable owned by an entity: OpenGL buffers or a QPainter drawing. The
// transparent flag puts a GL drawable into the blended passes.
class Geometry
{
public:
    Geometry() = default;
    virtual ~Geometry() = default;

    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;

    // Frees graphics resources; the drawable can be uploaded again later.
    virtual void Release() {}
    // Sends the data to the graphics system before a draw.
    virtual void Upload() {}

    bool IsTransparent() const { return m_transparent; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }

private:
    bool m_transparent = false;
};

using GeometryPtr = std::shared_ptr<Geometry>;

} // namespace zorvpro::view
