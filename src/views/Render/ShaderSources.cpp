#include "ShaderSources.h"

namespace zorvpro::view
{
namespace
{
// Desktop GL gets Qt's empty lowp/mediump/highp macros injected; they are dropped so that the
// same text means the same thing in both dialects. ES needs highp: the packed SPL value must
// survive the decode to better than 1/1024.
#define ZORV_SHADER_PRELUDE                                                                                  \
    "#ifdef GL_ES\n"                                                                                         \
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"                                                                    \
    "precision highp float;\n"                                                                               \
    "precision highp sampler2D;\n"                                                                           \
    "#else\n"                                                                                                \
    "precision mediump float;\n"                                                                             \
    "#endif\n"                                                                                               \
    "#else\n"                                                                                                \
    "#undef lowp\n"                                                                                          \
    "#undef mediump\n"                                                                                       \
    "#undef highp\n"                                                                                         \
    "#endif\n"

const char* const kTriangleVertex = ZORV_SHADER_PRELUDE R"(
attribute vec3 vertex;
attribute vec3 normal;
attribute vec4 color;
attribute vec2 texture;
uniform mat4 projMatrix;
uniform mat4 mvMatrix;
uniform mat3 normalMatrix;
varying vec3 vertVert;
varying vec3 vertNormal;
varying vec4 vertColor;
varying vec2 vertTexCoord;
void main()
{
    vertVert = vertex;
    vertNormal = normalMatrix * normal;
    vertColor = color;
    vertTexCoord = texture;
    gl_Position = projMatrix * mvMatrix * vec4(vertex, 1.0);
}
)";

// A texel holds an SPL position as a 32-bit fraction, red most significant; the decoded value
// indexes the one-row colour map. Vertices with texture coordinate -1 keep their own colour.
const char* const kTriangleFragment = ZORV_SHADER_PRELUDE R"(
varying vec3 vertVert;
varying vec3 vertNormal;
varying vec4 vertColor;
varying vec2 vertTexCoord;
uniform sampler2D colorMap;
uniform sampler2D texture;
const vec4 colorDecode = vec4(0.99609375023192114895, 0.0038909912118434419881,
                              1.5199184421263445266e-5, 5.937181414556033307e-8);
void main()
{
    if (vertTexCoord.s < -0.5)
    {
        gl_FragColor = clamp(vertColor, 0.0, 1.0);
    }
    else
    {
        vec4 c = texture2D(texture, vertTexCoord.st);
        float v = dot(c, colorDecode);
        gl_FragColor = texture2D(colorMap, vec2(v, 0.5));
    }
}
)";

// Each segment arrives as six vertices (two triangles); the shader pushes them out in screen
// space into a band of lineWidth pixels plus an antialiasing fringe, with rounded ends.
const char* const kLineVertex = ZORV_SHADER_PRELUDE R"(
attribute vec3 vertex;
attribute vec3 normal;
attribute vec4 color;
attribute vec2 texture;
uniform mat4 projMatrix;
uniform mat4 mvMatrix;
uniform mat3 normalMatrix;
varying vec4 v_color;
varying vec2 v_texCoord;
varying float v_lineWidth;
varying float v_lineLength;
varying float v_antialias;
varying float v_discard;
const float antialias = 0.5;
vec2 project(vec4 p, vec2 view)
{
    return (0.5 + 0.5 * p.xy / p.w) * view;
}
void main()
{
    float lineWidth = texture.x < 0.0 ? -texture.x - 1.0 : texture.x - 1.0;
    float dx = texture.x < 0.0 ? -1.0 : 1.0;
    float dy = texture.y < 0.0 ? -1.0 : 1.0;
    vec2 view = normalMatrix[1].xy;
    mat4 T = projMatrix * mvMatrix;
    vec4 clipCur = T * vec4(vertex, 1.0);
    vec2 c = project(clipCur, view);
    vec2 n = project(T * vec4(normal, 1.0), view);
    float alpha = color.a;
    if (lineWidth < 1.0)
        alpha *= lineWidth;
    v_color = clamp(vec4(color.rgb, alpha), 0.0, 1.0);
    float screenLength = length(n - c);
    v_discard = screenLength < 0.001 ? 1.0 : 0.0;
    vec2 du = screenLength < 0.001 ? vec2(1.0, 0.0) : (n - c) / screenLength;
    vec2 dv = vec2(-du.y, du.x);
    float d = ceil(lineWidth + 2.5 * antialias);
    vec2 point = c + (du * dx + dv * dy) * d;
    gl_Position = vec4(clipCur.w * (2.0 * point / view - 1.0), clipCur.z, clipCur.w);
    v_texCoord = vec2(dx < 0.0 ? -d : screenLength + d, dy * d);
    v_lineWidth = lineWidth;
    v_lineLength = screenLength;
    v_antialias = antialias;
}
)";

const char* const kLineFragment = ZORV_SHADER_PRELUDE R"(
varying vec4 v_color;
varying vec2 v_texCoord;
varying float v_lineWidth;
varying float v_lineLength;
varying float v_antialias;
varying float v_discard;
void main()
{
    if (v_discard > 0.5)
        discard;
    float u = v_texCoord.x;
    float v = v_texCoord.y;
    float dist = abs(v);
    if (u < 0.0)
        dist = length(vec2(u, v));
    else if (u > v_lineLength)
        dist = length(vec2(u - v_lineLength, v));
    float t = dist - v_lineWidth / 2.0 - v_antialias;
    if (t < 0.0)
    {
        gl_FragColor = clamp(v_color, 0.0, 1.0);
    }
    else
    {
        t = t / v_antialias;
        float a = exp(-t * t) * v_color.a;
        if (a <= 0.001)
            discard;
        gl_FragColor = clamp(vec4(v_color.rgb, a), 0.0, 1.0);
    }
}
)";

#undef ZORV_SHADER_PRELUDE

const char* const kCoreVertex = R"(#version 150
in vec4 vertex;
in vec3 normal;
in vec4 color;
uniform mat4 projMatrix;
uniform mat4 mvMatrix;
uniform mat3 normalMatrix;
out vec3 vert;
out vec3 vertNormal;
out vec4 colorOut;
void main()
{
    vert = vertex.xyz;
    vertNormal = normalMatrix * normal;
    colorOut = color;
    gl_Position = projMatrix * mvMatrix * vertex;
}
)";

#define ZORV_CORE_FRAGMENT_BODY                                                                              \
    "in vec4 colorOut;\n"                                                                                    \
    "uniform vec3 lightPos;\n"                                                                               \
    "out vec4 fragColor;\n"                                                                                  \
    "void main()\n"                                                                                          \
    "{\n"                                                                                                    \
    "    fragColor = colorOut;\n"                                                                            \
    "}\n"

const char* const kCoreTriangleFragment = "#version 150\n" ZORV_CORE_FRAGMENT_BODY;
const char* const kCoreLineFragment = "#version 150 core\n" ZORV_CORE_FRAGMENT_BODY;
#undef ZORV_CORE_FRAGMENT_BODY
} // namespace

namespace
{
struct Override
{
    bool set = false;
    ShaderSourcePair sources{nullptr, nullptr};
};

Override& OverrideOf(ShaderProgramKind kind)
{
    static Override overrides[2];
    return overrides[kind == ShaderProgramKind::Lines ? 1 : 0];
}
} // namespace

void OverrideShaderSources(ShaderProgramKind kind, const ShaderSourcePair* sources)
{
    Override& entry = OverrideOf(kind);
    entry.set = sources != nullptr;
    entry.sources = sources != nullptr ? *sources : ShaderSourcePair{nullptr, nullptr};
}

ShaderSourcePair ShaderSources(ShaderProgramKind kind, bool coreProfile)
{
    if (const Override& entry = OverrideOf(kind); entry.set)
        return entry.sources;
    if (coreProfile)
        return {kCoreVertex, kind == ShaderProgramKind::Lines ? kCoreLineFragment : kCoreTriangleFragment};
    if (kind == ShaderProgramKind::Lines)
        return {kLineVertex, kLineFragment};
    return {kTriangleVertex, kTriangleFragment};
}
} // namespace zorvpro::view
