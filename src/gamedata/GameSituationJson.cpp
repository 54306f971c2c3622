#include "GameSituationJson.h"

#include <cstdio>

namespace
{

// A JSON string: quotes, backslashes and control characters escaped; other
// bytes (UTF-8 text) as they are.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

template <typename Item, typename Write>
std::string array(const std::vector<Item> &items, Write write)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? "," : "") + write(items[i]);
    return out + "]";
}

std::string number(int value)
{
    return std::to_string(value);
}

std::string optionalNumber(const std::optional<int> &value)
{
    return value ? std::to_string(*value) : "null";
}

} // namespace

std::string GameSituationJsonMember(const GameSituation &situation)
{
    const GameSituation::LineScore &line = situation.line_score;
    return "\"situation\":{\"period\":" + number(situation.period) +
           ",\"period_label\":" + quoted(situation.period_label) +
           ",\"line_score\":{\"periods\":" + array(line.periods, quoted) +
           ",\"home\":" + array(line.home, number) + ",\"visitor\":" + array(line.visitor, number) +
           ",\"home_total\":" + number(line.home_total) +
           ",\"visitor_total\":" + number(line.visitor_total) +
           "},\"timeouts_left\":{\"home\":" + optionalNumber(situation.timeouts_left.home) +
           ",\"visitor\":" + optionalNumber(situation.timeouts_left.visitor) + "},\"possession\":" +
           (situation.possession ? quoted(*situation.possession) : std::string("null")) +
           ",\"down_distance\":" + quoted(situation.down_distance) +
           ",\"ball_on\":" + quoted(situation.ball_on) +
           ",\"last_play\":" + quoted(situation.last_play) + "}";
}
