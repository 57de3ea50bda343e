// Zorv Tessary: start-up, the event loop and shutdown in their fixed order.

#include "core/Logger/OmbraxLogger.h"
#include "views/Shell/Startup.h"
#include "views/ZorvApp.h"

#include <exception>

int main(int argc, char** argv)
{
    using namespace zorvpro;
    PrepareApplicationAttributes(argc, argv);
    try
    {
        ZorvApp::Create(argc, argv);
    }
    catch (const std::exception& e)
    {
        OmbraxLogger::LogException(e, __FILE__, "main", __LINE__);
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
            start.Start();
            code = ZorvApp::exec();
        }
        catch (const std::exception& e)
        {
            OmbraxLogger::LogException(e, __FILE__, "main", __LINE__);
            code = 1;
        }
        catch (...)
        {
            OmbraxLogger::LogUnknownException(__FILE__, "main", __LINE__);
            code = 1;
        }
        start.Finish();
    }
    app->Shutdown();
    return code;
}
