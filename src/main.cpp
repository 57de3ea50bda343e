// Zorv Tessary: start-up, the event loop and shutdown in their fixed order.

#include "views/Shell/Startup.h"
#include "views/ZorvApp.h"

int main(int argc, char** argv)
{
    using namespace zorvpro;
    return RunProgram(argc, argv,
                      [](ProgramStart& start)
                      {
                          start.Start();
                          return ZorvApp::exec();
                      });
}
