#include "PlayContext.h"

#include <cctype>
#include <climits>
#include <optional>

namespace
{

std::optional<char> takeChar(std::string_view &text)
{
    if (text.empty())
        return std::nullopt;
    const char c = text.front();
    text.remove_prefix(1);
    return c;
}

bool takeComma(std::string_view &text)
{
    if (text.empty() || text.front() != ',')
        return false;
    text.remove_prefix(1);
    return true;
}

// A decimal integer after optional white space and sign; at least one digit.
std::optional<int> takeInt(std::string_view &text)
{
    std::string_view rest = text;
    while (!rest.empty() && std::isspace(static_cast<unsigned char>(rest.front())))
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest.front())))
        return std::nullopt;
    long long value = 0;
    while (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest.front()))) {
        if (value <= INT_MAX)
            value = value * 10 + (rest.front() - '0');
        rest.remove_prefix(1);
    }
    text = rest;
    if (value > INT_MAX)
        return negative ? INT_MIN : INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

} // namespace

PlayContext PlayContext::Parse(std::string_view text)
{
    PlayContext context;
    const auto offense = takeChar(text);
    if (!offense)
        return context;
    context.offense = *offense;
    context.fieldsRead = 1;
    if (!takeComma(text))
        return context;
    const auto down = takeInt(text);
    if (!down)
        return context;
    context.down = *down;
    context.fieldsRead = 2;
    if (!takeComma(text))
        return context;
    const auto toGo = takeInt(text);
    if (!toGo)
        return context;
    context.toGo = *toGo;
    context.fieldsRead = 3;
    if (!takeComma(text))
        return context;
    const auto side = takeChar(text);
    if (!side)
        return context;
    context.side = *side;
    context.fieldsRead = 4;
    const auto yard = takeInt(text);
    if (!yard)
        return context;
    context.yard = *yard;
    context.fieldsRead = 5;
    return context;
}
