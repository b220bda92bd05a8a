#include "platform/Text.h"

#include "platform/RuntimeException.h"

#include <algorithm>

namespace platform::Text {

std::string Format(std::int64_t value, std::string_view pattern)
{
    if (pattern.empty() || pattern.find_first_not_of('0') != std::string_view::npos)
        throw OutOfBoundsException("unsupported number format \"" + std::string(pattern) + "\"");
    // The magnitude in unsigned arithmetic, so that INT64_MIN has one too.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (digits.size() < pattern.size())
        digits.append(pattern.size() - digits.size(), '0');
    if (value < 0)
        digits.push_back('-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string Str(std::int64_t value) { return std::to_string(value); }

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return text;
    std::string result;
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(from, start)) != std::string::npos; start = found + from.size()) {
        result.append(text, start, found - start);
        result.append(to);
    }
    result.append(text, start, std::string::npos);
    return result;
}

} // namespace platform::Text
