#include "views/Render/GLError.h"

#include "core/Logger/OmbraxLogger.h"

#include <QDebug>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <atomic>

namespace zorvpro::opengl
{
namespace
{
std::atomic<bool> errorReported{false};
constexpr int kMaxErrorsPerCheck = 32;
} // namespace

void ReportGLErrors(const std::function<unsigned()>& nextError)
{
    if (errorReported.load())
        return;
    for (int i = 0; i < kMaxErrorsPerCheck; ++i)
    {
        const unsigned code = nextError();
        if (code == 0)
            return;
        errorReported.store(true);
        const QString text = QStringLiteral("OpenGL error %1").arg(code);
        qDebug().noquote() << text;
        OmbraxLogger::Log(LogLevel::Error, text);
    }
}

void CheckGLError()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (context == nullptr)
        return;
    QOpenGLFunctions* functions = context->functions();
    if (functions == nullptr)
        return;
    ReportGLErrors([functions] { return static_cast<unsigned>(functions->glGetError()); });
}

} // namespace zorvpro::opengl
