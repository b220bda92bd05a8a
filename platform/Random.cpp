#include "platform/Random.h"

#include "platform/RuntimeException.h"

#include <string>

namespace platform {

Random::Random()
{
    std::random_device device;
    std::seed_seq seed { device(), device(), device(), device() };
    engine_.seed(seed);
}

std::int64_t Random::InRange(std::int64_t low, std::int64_t high)
{
    if (low > high)
        std::swap(low, high);
    if (scripted_) {
        calls_.emplace_back(low, high);
        if (script_.empty())
            throw OutOfBoundsException("scripted random draws are used up (InRange(" + std::to_string(low) + ", "
                + std::to_string(high) + "))");
        std::int64_t value = script_.front();
        script_.pop_front();
        if (value < low || value > high)
            throw OutOfBoundsException("scripted draw " + std::to_string(value) + " lies outside InRange("
                + std::to_string(low) + ", " + std::to_string(high) + ")");
        return value;
    }
    // uniform_int_distribution is unbiased and covers the full 64-bit range.
    return std::uniform_int_distribution<std::int64_t>(low, high)(engine_);
}

void Random::Script(std::vector<std::int64_t> values)
{
    scripted_ = true;
    script_.assign(values.begin(), values.end());
    calls_.clear();
}

void Random::Unscript()
{
    scripted_ = false;
    script_.clear();
    calls_.clear();
}

namespace System {
    platform::Random& Random()
    {
        static platform::Random shared;
        return shared;
    }
} // namespace System

} // namespace platform
