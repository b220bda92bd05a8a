#pragma once

#include <exception>

// The program's start-up, from the process entry (app/main.cpp) to the
// framework's event loop. main runs RuntimeInit, RuntimePerformInitializers,
// Main, RuntimePerformFinalizers and returns RuntimeExit().

// Installs the exception helper, declares the runtime version, runs
// EarlyStartup, the framework's initialisation (with LateStartup) and the
// event loop. An exception in any step skips the rest and goes to the
// framework's unhandled-exception handling, which reports it once and makes
// the exit code non-zero.
void Main();
// HiDPI, the framework's classes and plug-ins, then InitFileTypes,
// NewAppInstance, ApplicationAddMenuHandlers.
void EarlyStartup();
// The program declares no document file types.
void InitFileTypes();
// Creates the App, gives it its version data, the shared menu bar and its
// tray icon's tooltip and picture, and registers it with the framework, which
// holds it from then on.
void NewAppInstance();
// Registers the App's handler of the menu item "ShowPreferences".
void ApplicationAddMenuHandlers();
// The late start-up hook handed to the framework's initialisation.
void LateStartup();

// The exception helper that Main installs: calls function(argument) and
// returns none, or the RuntimeException (or subclass) that escaped it; any
// other exception propagates.
std::exception_ptr CallWithExceptionHandling(void (*function)(void*), void* argument);

// Start-up's test seam: when set, called with each step's name just before
// the step runs. The program never sets it; tests follow start-up with it and
// make a step fail by throwing from it.
extern void (*startupStepObserver)(const char* step);
void StartupStep(const char* step);
