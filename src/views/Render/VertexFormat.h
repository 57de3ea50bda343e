#pragma once

#include <array>
#include <cstddef>

namespace zorvpro::opengl
{

// One vertex layout for every GL drawable: 12 tightly packed floats.
constexpr int kFloatsPerVertex = 12;
constexpr int kVertexStride = kFloatsPerVertex * 4;

struct VertexAttribute
{
    const char* name;
    int location;
    int components;
    int offsetBytes;
};

// Shader attribute names and locations. Line vertices reuse the slots:
// "normal" holds the next point along the segment and "texture" the signed
// half width and length of the band.
constexpr std::array<VertexAttribute, 4> kVertexAttributes{{
    {"vertex", 0, 3, 0},
    {"normal", 1, 3, 12},
    {"color", 2, 4, 24},
    {"texture", 3, 2, 40},
}};

// A texture coordinate of (kNoTexture, kNoTexture) draws the vertex in its own colour.
constexpr float kNoTexture = -1.0f;

} // namespace zorvpro::opengl
