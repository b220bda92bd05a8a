#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

namespace platform {

class Application;

// The runtime steps that start-up runs, in this order:
//
//   RuntimeInit(); RuntimePerformInitializers();
//   try {
//       RuntimeSetExceptionHelper(helper); RuntimeDeclareVersion(2021.021);
//       Application::SetSupportsHiDPI(true); RuntimeInitExternalClasses();
//       InitPluginEntrypoints(); ResolvePluginClasses();
//       ...create the App, SetVersionData, SetMenuBar, RuntimeRegisterAppObject(app),
//       DesktopColorPickerClose(), app->AddMenuHandler(...)...
//       RunFrameworkInitialization(lateStartup); RuntimeRun();
//   } catch (...) { RuntimeUnhandledException(std::current_exception()); }
//   RuntimePerformFinalizers(); return RuntimeExit();
//
// All of them run on the main thread.

// The exception helper: every event the framework raises into the program's
// code (timer actions, Render, window events, menu handlers, check-box actions,
// the application's Open) is called through it as function(argument). It
// returns none when the function returned normally, the exception when a
// RuntimeException (or subclass) escaped, and lets any other exception
// propagate. The framework hands a returned or propagated exception to its
// unhandled-exception handling; Qt never sees one.
using ExceptionHelper = std::exception_ptr (*)(void (*function)(void*), void* argument);

// The helper as just described; the framework uses it until one is installed.
std::exception_ptr DefaultExceptionHelper(void (*function)(void*), void* argument);

// Readies the runtime: large blocks of memory go back to the system when
// freed. Creates nothing of Qt yet (see RunFrameworkInitialization).
void RuntimeInit();
// The static initialisers: C++ has run them before main, so this does
// nothing; kept as a step so start-up reads as designed.
void RuntimePerformInitializers();
// Installs helper as the exception helper (none restores the default).
void RuntimeSetExceptionHelper(ExceptionHelper helper);
// Declares the runtime version the program was built for; RuntimeVersion() reads it back.
void RuntimeDeclareVersion(double version);
double RuntimeVersion();
// Readies the framework's built-in classes, plug-in entry points and plug-in
// classes. Nothing needs readying here; kept as steps so start-up reads as designed.
void RuntimeInitExternalClasses();
void InitPluginEntrypoints();
void ResolvePluginClasses();
// Closes the framework's colour picker if one is open; this framework has none.
void DesktopColorPickerClose();

// Registers the application object; the framework holds it until the
// finalisers run. Its Open event is raised once, from the event loop, after
// both this and RunFrameworkInitialization. Raises NilObjectException for none.
void RuntimeRegisterAppObject(std::shared_ptr<Application> app);
// The registered application object, or none.
std::shared_ptr<Application> GetAppObject();

// Creates the Qt application, or adopts the one that already exists (a test
// main makes one), raising RuntimeException when the X display named by
// DISPLAY cannot be opened; sets up the tray icon; calls
// lateStartup (exceptions propagate to the caller); schedules the
// application's Open event.
void RunFrameworkInitialization(const std::function<void()>& lateStartup);
// Runs the event loop; returns when the application quits (platform::Quit, the
// quit item) or an unhandled exception ended it. Returns at once if Quit was
// called before. While it runs, the last open window's closing quits as Quit
// does unless the tray icon is shown, since nothing else is left to reach the
// program by.
void RuntimeRun();
// Quits: closes every open window (raising their Close events), then ends the
// event loop with exit code 0. An exception from a Close event goes to the
// unhandled-exception handling (exit code 1); the windows still open then are
// closed without their Close events.
void Quit();

// The default unhandled-exception handling: writes one line to stderr naming
// the exception's class and message, sets the exit code to 1 and ends the
// event loop if it runs. From then on no further event reaches the program's
// code in this run of the loop. Never throws.
void RuntimeUnhandledException(std::exception_ptr exception) noexcept;

// Releases the application object and every open window, then the Qt
// application if the framework created it.
void RuntimePerformFinalizers();
// The exit code: 0 after a quit, 1 after an unhandled exception.
std::int32_t RuntimeExit();

} // namespace platform
