// Every shader text compiles in each dialect it is meant for, checked by the reference
// compiler: desktop GLSL 1.10 as Qt feeds it (with its empty precision macros), GLSL ES 1.00,
// and the GLSL 1.50 pair of a core-profile format.
#include "views/Render/ShaderSources.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zorvpro::view;

namespace
{
struct Compiled
{
    bool ok;
    QString output;
};

Compiled Validate(const QTemporaryDir& dir, const QString& name, const QByteArray& text,
                  const QStringList& options)
{
    const QString validator = QStandardPaths::findExecutable("glslangValidator");
    if (validator.isEmpty())
        return {false, "glslangValidator not found (Debian package glslang-tools)"};
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {false, "cannot write " + file.fileName()};
    file.close();
    QProcess process;
    process.start(validator, options + QStringList{file.fileName()});
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

// Qt puts these in front of desktop shaders that carry no #version.
const QByteArray kQtDesktopPrefix = "#define lowp\n#define mediump\n#define highp\n";
} // namespace

TEST(ShaderSourcesTest, EveryStageCompilesInEveryDialectItServes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Stage
    {
        const char* name;
        ShaderProgramKind kind;
        bool core;
        bool vertex;
    };
    const Stage stages[] = {
        {"triangles", ShaderProgramKind::Triangles, false, true},
        {"triangles", ShaderProgramKind::Triangles, false, false},
        {"lines", ShaderProgramKind::Lines, false, true},
        {"lines", ShaderProgramKind::Lines, false, false},
        {"core-triangles", ShaderProgramKind::Triangles, true, true},
        {"core-triangles", ShaderProgramKind::Triangles, true, false},
        {"core-lines", ShaderProgramKind::Lines, true, false},
    };
    for (const Stage& stage : stages)
    {
        const ShaderSourcePair pair = ShaderSources(stage.kind, stage.core);
        const QByteArray text = stage.vertex ? pair.vertex : pair.fragment;
        const QString file = QString("%1.%2").arg(stage.name, stage.vertex ? "vert" : "frag");
        if (stage.core)
        {
            const Compiled core = Validate(dir, file, text, {});
            EXPECT_TRUE(core.ok) << file.toStdString() << "\n" << core.output.toStdString();
            continue;
        }
        // One text for both dialects: no #version, highp under GL_ES only.
        EXPECT_FALSE(text.contains("#version")) << file.toStdString();
        const Compiled es = Validate(dir, file, text, {});
        EXPECT_TRUE(es.ok) << "ES " << file.toStdString() << "\n" << es.output.toStdString();
        const Compiled desktop = Validate(dir, file, kQtDesktopPrefix + text, {"-d"});
        EXPECT_TRUE(desktop.ok) << "desktop " << file.toStdString() << "\n" << desktop.output.toStdString();
    }
}
