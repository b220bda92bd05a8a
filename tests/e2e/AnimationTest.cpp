#include "Frames.h"
#include "Program.h"
#include "tests/support/XTools.h"

#include <chrono>
#include <gtest/gtest.h>
#include <iostream>

using namespace e2e;
using namespace xtools;

// Sprites spawn just outside the top and right edges at about one a second
// per screen, of a random kind, so the test watches for a while: until it
// has seen three kinds and two shot pairs moving down and to the left.
TEST(Animation, SpritesOfSeveralKindsFlyDownAndToTheLeft)
{
    std::vector<QRect> screens = monitors();
    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == screens.size(); }));

    std::set<Frames::Kind> seen;
    bool changed = false;
    int downLeft = 0, otherWays = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(25);
    while (std::chrono::steady_clock::now() < deadline && !(changed && seen.size() >= 3 && downLeft >= 2)) {
        QImage before = screenshot();
        quill_test::Spin(400);
        QImage after = screenshot();
        ASSERT_FALSE(before.isNull() || after.isNull());
        for (Frames::Kind kind : Frames::kindsIn(after))
            seen.insert(kind);
        if (Frames::changedPixels(before, after) < 200)
            continue; // nothing in view yet, or no frame drawn in between
        changed = true;
        QPoint shift = Frames::bestShift(before, after, 100, screens);
        // Every kind flies along one slant: 2.5 to the left for 1 down.
        double slant = shift.y() > 0 ? -shift.x() / static_cast<double>(shift.y()) : 0;
        if (shift.x() < 0 && shift.y() > 0 && slant > 1.5 && slant < 4.0)
            ++downLeft;
        else if (shift != QPoint(0, 0))
            ++otherWays;
        std::cout << "shift " << shift.x() << ", " << shift.y() << "\n";
    }
    EXPECT_TRUE(changed) << "the screen never changed";
    std::string kinds;
    for (Frames::Kind kind : seen)
        kinds += std::string(Frames::name(kind)) + "; ";
    std::cout << "kinds seen: " << kinds << "\n";
    EXPECT_GE(seen.size(), 3u) << "kinds seen: " << kinds;
    EXPECT_GE(downLeft, 2);
    EXPECT_LT(otherWays, downLeft);
    EXPECT_TRUE(program.isRunning());
    EXPECT_EQ(program.standardError().toStdString(), "");
}
