#include "TeamColorChoice.h"

namespace
{

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<COLORREF> TeamColorChoice::Parse(std::string_view text)
{
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    int parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text[1 + 2 * i]);
        const int low = hexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return std::nullopt;
        parts[i] = high * 16 + low;
    }
    return RGB(parts[0], parts[1], parts[2]);
}
