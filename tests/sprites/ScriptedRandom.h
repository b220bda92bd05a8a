#pragma once

#include "platform/Random.h"

#include <gtest/gtest.h>

// Fixture whose tests script the shared generator's draws; every test ends
// with the generator unscripted again.
class ScriptedRandom : public testing::Test {
protected:
    void TearDown() override { platform::System::Random().Unscript(); }
    static void script(std::vector<std::int64_t> draws) { platform::System::Random().Script(std::move(draws)); }
    static std::size_t remaining() { return platform::System::Random().ScriptRemaining(); }
};
