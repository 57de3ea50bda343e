// Source texts of the renderer's two shader programs.
#pragma once

namespace zorvpro::view
{
enum class ShaderProgramKind
{
    Triangles, // filled geometry, optionally coloured through the SPL colour map
    Lines      // antialiased screen-space lines
};

struct ShaderSourcePair
{
    const char* vertex;
    const char* fragment;
};

// The attribute/varying texts compile unchanged as desktop GLSL 1.10 and as GLSL ES 1.00; the
// GLSL 1.50 texts serve a core-profile default format only.
ShaderSourcePair ShaderSources(ShaderProgramKind kind, bool coreProfile);

// Replaces both texts of one program kind, in either dialect, for the programs built after the
// call; null restores the built-in texts. Lets a test build a program that fails. GUI thread.
void OverrideShaderSources(ShaderProgramKind kind, const ShaderSourcePair* sources);
} // namespace zorvpro::view
