#include "TextNumbers.h"

#include <cctype>
#include <charconv>
#include <climits>

namespace TextNumbers
{

namespace
{

// Skips white space and one sign; returns true for a minus.
bool takeSign(std::string_view &text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    if (text.empty() || (text.front() != '+' && text.front() != '-'))
        return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

} // namespace

double LeadingNumber(std::string_view text)
{
    const bool negative = takeSign(text);
    if (text.empty() || text.front() == '+' || text.front() == '-')
        return 0;
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return negative ? -value : value;
}

int LeadingInt(std::string_view text)
{
    const bool negative = takeSign(text);
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace TextNumbers
