// Quillamere Live Desktop: the process entry. Arguments and the environment
// are not read.
#include "app/Startup.h"
#include "platform/Runtime.h"

int main()
{
    StartupStep("RuntimeInit");
    platform::RuntimeInit();
    StartupStep("RuntimePerformInitializers");
    platform::RuntimePerformInitializers();
    Main();
    // However Main ended: its exceptions went to the unhandled-exception handling.
    StartupStep("RuntimePerformFinalizers");
    platform::RuntimePerformFinalizers();
    StartupStep("RuntimeExit");
    return platform::RuntimeExit();
}
