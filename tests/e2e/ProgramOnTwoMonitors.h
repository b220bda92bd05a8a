#pragma once

#include "Program.h"
#include "tests/support/XTools.h"

#include <QRect>
#include <gtest/gtest.h>
#include <vector>

namespace e2e {

// The program started on the two monitors the test is registered with; the
// test begins once it shows a desktop window on each.
class ProgramOnTwoMonitors : public testing::Test {
protected:
    void SetUp() override
    {
        screens = xtools::monitors();
        ASSERT_EQ(screens.size(), 2u);
        ASSERT_TRUE(program.start());
        ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == 2; }));
    }

    // The monitors, the main one first.
    std::vector<QRect> screens;
    Program program;
};

} // namespace e2e
