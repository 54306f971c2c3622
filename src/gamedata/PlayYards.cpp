#include "PlayYards.h"

#include "TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace
{

std::string lowered(std::string_view text)
{
    std::string result(text);
    for (char &c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// True when `word` stands in `text` as a word of its own (not inside another).
bool hasWord(std::string_view text, std::string_view word)
{
    for (std::size_t at = text.find(word); at != std::string_view::npos;
         at = text.find(word, at + 1)) {
        const bool startsWord = at == 0 || !isLetter(text[at - 1]);
        const std::size_t end = at + word.size();
        if (startsWord && (end == text.size() || !isLetter(text[end])))
            return true;
    }
    return false;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

void skipSpaces(std::string_view &text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
}

// "N yard", "N yards" or "N yds" at the start of `text`, with an optional sign.
std::optional<long long> takeYards(std::string_view text)
{
    skipSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front())))
        return std::nullopt;
    long long value = 0;
    while (!text.empty() && std::isdigit(static_cast<unsigned char>(text.front()))) {
        value = std::min<long long>(value * 10 + (text.front() - '0'), INT_MAX);
        text.remove_prefix(1);
    }
    skipSpaces(text);
    if (!startsWith(text, "yard") && !startsWith(text, "yd"))
        return std::nullopt;
    return negative ? -value : value;
}

// What follows one "for " of a play's text.
std::optional<long long> yardsAfterFor(std::string_view rest)
{
    skipSpaces(rest);
    if (startsWith(rest, "no gain"))
        return 0;
    for (std::string_view loss : {"loss of", "a loss of"}) {
        if (startsWith(rest, loss)) {
            const std::optional<long long> yards = takeYards(rest.substr(loss.size()));
            return yards ? std::optional<long long>(-*yards) : std::nullopt;
        }
    }
    return takeYards(rest);
}

int clampedTo(long long yards, long long low, long long high)
{
    return static_cast<int>(std::clamp(yards, low, high));
}

} // namespace

std::string PlayYards::Text() const
{
    return yards ? std::to_string(*yards) : std::string();
}

bool IsRushOrPass(std::string_view type, std::string_view text)
{
    const char kind = type.empty() ? '\0' : static_cast<char>(std::toupper(type.front()));
    if (kind == 'R' || kind == 'P')
        return true;
    if (kind == 'E')
        return false;
    const std::string words = lowered(text);
    // A penalty names the pass it was called on; a try after a touchdown is
    // "rush attempt" or "pass attempt" and gains nothing.
    if (startsWith(words, "penalty") || hasWord(words, "attempt"))
        return false;
    return hasWord(words, "rush") || hasWord(words, "pass") || hasWord(words, "sacked") ||
           hasWord(words, "scramble") || hasWord(words, "scrambles");
}

std::optional<int> YardsFromPlayText(std::string_view text, int fieldLength)
{
    const std::string words = lowered(text);
    const std::string_view view = words;
    // A pass that falls incomplete or is intercepted gains the offense nothing.
    std::size_t incomplete = std::string_view::npos;
    for (std::string_view word : {"incomplete", "intercepted"}) {
        for (std::size_t at = view.find(word); at != std::string_view::npos;
             at = view.find(word, at + 1)) {
            if (at == 0 || !isLetter(view[at - 1])) {
                incomplete = std::min(incomplete, at);
                break;
            }
        }
    }
    for (std::size_t at = view.find("for "); at != std::string_view::npos && at < incomplete;
         at = view.find("for ", at + 1)) {
        if (at > 0 && isLetter(view[at - 1]))
            continue;
        if (const std::optional<long long> yards = yardsAfterFor(view.substr(at + 4)))
            return clampedTo(*yards, -fieldLength, fieldLength);
    }
    if (incomplete != std::string_view::npos)
        return 0;
    return std::nullopt;
}

std::vector<PlayYards> DerivePlayYards(const GamePlays &game)
{
    const int field = game.fieldLength;
    std::vector<PlayYards> result(game.plays.size());
    for (std::size_t i = 0; i < game.plays.size(); ++i) {
        const PlayRecord &play = game.plays[i];
        PlayYards &yards = result[i];
        if (play.yds) {
            yards.yards = TextNumbers::LeadingInt(*play.yds);
            continue;
        }
        if (!IsRushOrPass(play.type, play.text))
            continue;
        const std::optional<int> from = OffenseSpot(play.context, field);
        std::optional<int> gained = YardsFromPlayText(play.text, field);
        if (!gained && from && i + 1 < game.plays.size()) {
            const PlayRecord &next = game.plays[i + 1];
            const std::optional<int> to = OffenseSpot(next.context, field);
            if (to && play.drive && next.drive == play.drive &&
                next.context.offense == play.context.offense)
                gained = *to - *from;
        }
        if (!gained)
            continue;
        // The ball cannot go past a goal line: what lies beyond is a
        // touchdown or a safety, not more yards.
        yards.yards = from ? clampedTo(*gained, -*from, field - *from) : *gained;
        yards.derived = true;
    }
    return result;
}
