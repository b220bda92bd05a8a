#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <utility>
#include <vector>

namespace platform {

// The framework's random-number generator. The program uses one instance,
// System::Random(), seeded once from the operating system's entropy.
class Random {
public:
    Random();

    // An integer from low to high, both included, every value equally likely.
    // When low > high the bounds are taken the other way round, so the result
    // always lies between the two values given.
    std::int64_t InRange(std::int64_t low, std::int64_t high);

    // Test seam: the next draws return these values, in order, instead of
    // generated ones. A scripted value outside the requested range raises
    // OutOfBoundsException, which catches tests that script the wrong draw.
    // Once the script is used up, draws raise OutOfBoundsException too, so a
    // test sees every draw it did not expect.
    void Script(std::vector<std::int64_t> values);
    // Ends scripting; draws are generated again.
    void Unscript();
    bool IsScripted() const { return scripted_; }
    std::size_t ScriptRemaining() const { return script_.size(); }
    // The (low, high) of every draw made while scripted, in call order.
    const std::vector<std::pair<std::int64_t, std::int64_t>>& ScriptedCalls() const { return calls_; }

private:
    std::mt19937_64 engine_;
    bool scripted_ = false;
    std::deque<std::int64_t> script_;
    std::vector<std::pair<std::int64_t, std::int64_t>> calls_;
};

namespace System {
    // The one shared generator, created on first use.
    platform::Random& Random();
} // namespace System

} // namespace platform
