#pragma once

// The process's one QApplication: the existing one adopted (a test main makes
// one), or one the framework creates and later deletes.

class QApplication;

namespace platform::qt {

// The existing QApplication, or one created now. Raises RuntimeException when
// there is no X display to create it on.
QApplication& EnsureApplication();
// Deletes the QApplication if the framework created it.
void DeleteOwnedApplication();

} // namespace platform::qt
