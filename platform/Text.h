#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The framework's text services.
namespace platform::Text {

// value in decimal with at least as many digits as pattern has zeros, padded
// with leading zeros: Format(7, "0000") is "0007", Format(-7, "0000") is
// "-0007", Format(12345, "0000") is "12345". A pattern of anything other than
// one or more '0' raises OutOfBoundsException.
std::string Format(std::int64_t value, std::string_view pattern);

// value in decimal.
std::string Str(std::int64_t value);

// text with every occurrence of from, left to right and not overlapping,
// replaced by to; matching is exact (case-sensitive). An empty from changes
// nothing.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

} // namespace platform::Text
