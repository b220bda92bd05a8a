#pragma once

// The process's one QApplication: the existing one adopted (a test main makes
// one), or one the framework creates and later deletes.

class QApplication;

namespace platform::qt {

// The existing QApplication, or one created now on Qt's X11 platform, whatever
// QT_QPA_PLATFORM names. Raises RuntimeException when there is no X display
// to create it on; when Qt itself gives up, reports that as an unhandled
// RuntimeException and ends the process with status 1.
QApplication& EnsureApplication();
// Deletes the QApplication if the framework created it.
void DeleteOwnedApplication();

} // namespace platform::qt
