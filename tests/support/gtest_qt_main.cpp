// GoogleTest main for the test executables. Where a display is available it
// creates the process's one QApplication first, so tests of windows, timers
// and surfaces have a running Qt; the framework layer adopts that instance.
#include "tests/support/RunSelectedTests.h"

#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> app;
    const char* display = std::getenv("DISPLAY");
    if (display && *display)
        app = std::make_unique<QApplication>(argc, argv);
    return quill_test::RunSelectedTests();
}
