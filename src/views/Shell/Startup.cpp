#include "views/Shell/Startup.h"

#include "Resources/Icons/IconResources.h"
#include "core/Base/ApplicationSeam.h"
#include "core/Logger/LoggerConfig.h"
#include "core/Logger/OmbraxLogger.h"
#include "data/Nodes/BridgeNodeTypes.h"
#include "data/Nodes/LoudspeakerNode.h"
#include "data/Settings/AppSettings.h"
#include "data/Settings/LoggingSettings.h"
#include "views/Adapters/Theme/AppThemeAdapter.h"
#include "views/Adapters/Theme/ToolbarPositionAdapter.h"
#include "views/Shell/FirstFrameMark.h"
#include "views/Shell/MainWindow.h"
#include "views/Shell/MyStyle.h"
#include "views/ZorvApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPixmap>
#include <QSplashScreen>
#include <QSurfaceFormat>
#include <cstring>
#include <exception>

namespace zorvpro
{
void PrepareApplicationAttributes(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    // Only takes effect before the application object exists; the parser
    // still validates the options afterwards.
    bool autoGl = false;
    for (int i = 1; i < argc; ++i)
        autoGl = autoGl || std::strcmp(argv[i], "--auto_gl") == 0;
    if (!autoGl)
        QCoreApplication::setAttribute(Qt::AA_UseOpenGLES);
}

void InitLogging()
{
    LoggingSettings* settings = AppSettings::Instance().GetLoggingSettings();
    if (settings == nullptr)
        return;
    const QString folder = settings->getLogFilePath();
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        return;
    LoggerConfig config;
    config.echo = false;
    config.folder = folder;
    config.filesToKeep = settings->getLogFilesToKeep();
    config.level = settings->getLoggingLevel();
    OmbraxLogger::Initialize(config);
}

ProgramStart::ProgramStart(QApplication& application) : application(application) {}

ProgramStart::~ProgramStart()
{
    Finish();
}

bool ProgramStart::ParseCommandLine()
{
    QCommandLineParser parser;
    const QCommandLineOption autoGl(QStringLiteral("auto_gl"), QCoreApplication::translate("auto gl", "TBD"));
    const QCommandLineOption debug(
        QStringLiteral("dx"),
        QCoreApplication::translate("debug", "Enables debug-only features and information"));
    parser.addOption(autoGl);
    parser.addOption(debug);
    parser.process(application);
    const bool dx = parser.isSet(debug);
    if (ApplicationSeam* app = ApplicationSeam::Instance())
        app->SetDebug(dx);
    return dx;
}

QString ProgramStart::FileToOpen(const QString& fromEvent, const QStringList& arguments)
{
    if (!fromEvent.isEmpty())
        return fromEvent;
    if (arguments.size() > 1 && QFile::exists(arguments.last()))
        return arguments.last();
    return QString();
}

QString ProgramStart::FileNamed(const QStringList& arguments)
{
    if (arguments.size() > 1 && !arguments.last().startsWith(QLatin1Char('-')))
        return arguments.last();
    return QString();
}

MainWindow* ProgramStart::Start()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSamples(4);
    QSurfaceFormat::setDefaultFormat(format);
    QCoreApplication::setOrganizationName(QCoreApplication::translate("main", "Zorv"));
    QCoreApplication::setApplicationName(QCoreApplication::translate("main", "Zorv Tessary"));
    // The build's version, from the project's one version number.
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ZORV_VERSION));
    QApplication::setStyle(new MyStyle());
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);

    InitIconResources();
    const QPixmap image(QStringLiteral(":/Resources/Graphics/splash.png"));
    AppThemeAdapter::instance()->configure(&application);
    splash = std::make_unique<QSplashScreen>(image);
    splash->show();
    InitLogging();
    // Every node type must be known before the first project is read.
    RegisterBridgeNodeTypes();
    EnsureUserLoudspeakersLoaded();

    window = std::make_unique<MainWindow>();
    QString path = FileToOpen(ZorvApp::Instance() ? ZorvApp::Instance()->GetFileToOpen() : QString(),
                              QCoreApplication::arguments());
    // A named file that is not there is reported by the load, not passed over in silence.
    if (path.isEmpty())
        path = FileNamed(QCoreApplication::arguments());
    if (!path.isEmpty())
        window->LoadProject(path);
    AppThemeAdapter::instance()->handleThemeChanged();
    ToolbarPositionAdapter::instance()->handlePositionChanged();
    MarkFirstFrameWhenAsked(window.get());
    window->show();
    splash->finish(window.get());
    return window.get();
}

void ProgramStart::Finish()
{
    window.reset();
    splash.reset();
}

int RunProgram(int argc, char** argv, const std::function<int(ProgramStart&)>& run)
{
    PrepareApplicationAttributes(argc, argv);
    try
    {
        ZorvApp::Create(argc, argv);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "RunProgram", __LINE__);
        return 1;
    }
    ZorvApp* app = ZorvApp::Instance();
    if (app == nullptr)
        return -1;

    int code = 1;
    {
        ProgramStart start(*app);
        try
        {
            start.ParseCommandLine();
            code = run(start);
        }
        catch (const std::exception& e)
        {
            OmbraxLogger::LogException(e, __FILE__, "RunProgram", __LINE__);
            code = 1;
        }
        catch (...)
        {
            OmbraxLogger::LogUnknownException(__FILE__, "RunProgram", __LINE__);
            code = 1;
        }
        start.Finish();
    }
    app->Shutdown();
    return code;
}
} // namespace zorvpro
