#include "PlayYards.h"

#include "TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace
{

// Lowers ASCII letters only: the words looked for are ASCII, and no other
// byte lowers to an ASCII letter.
char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLetter(char c)
{
    // ASCII letters are letters in every locale; other bytes ask the locale.
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return static_cast<unsigned char>(c) >= 0x80 &&
           std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// True when `text` starts with `prefix` (lower case) in any case.
bool startsWith(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lowerAscii(text[i]) != prefix[i])
            return false;
    }
    return true;
}

// True when the letters `word` are `candidate` (lower case) in any case.
bool sameWord(std::string_view word, std::string_view candidate)
{
    return word.size() == candidate.size() && startsWith(word, candidate);
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
    // A penalty names the pass it was called on; a try after a touchdown is
    // "rush attempt" or "pass attempt" and gains nothing.
    if (startsWith(text, "penalty"))
        return false;
    // Each run of letters is one word of the text.
    bool rushOrPass = false;
    for (std::size_t at = 0; at < text.size();) {
        if (!isLetter(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at + 1;
        while (end < text.size() && isLetter(text[end]))
            ++end;
        const std::string_view word = text.substr(at, end - at);
        if (sameWord(word, "attempt"))
            return false;
        rushOrPass = rushOrPass || sameWord(word, "rush") || sameWord(word, "pass") ||
                     sameWord(word, "sacked") || sameWord(word, "scramble") ||
                     sameWord(word, "scrambles");
        at = end;
    }
    return rushOrPass;
}

std::optional<int> YardsFromPlayText(std::string_view text, int fieldLength)
{
    // Read at each start of a word, in order: the first "for " that tells
    // yards gives them; a pass that falls incomplete or is intercepted before
    // one does gains the offense nothing.
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at > 0 && isLetter(text[at - 1]))
            continue;
        const std::string_view rest = text.substr(at);
        if (startsWith(rest, "incomplete") || startsWith(rest, "intercepted"))
            return 0;
        if (!startsWith(rest, "for "))
            continue;
        if (const std::optional<long long> yards = yardsAfterFor(rest.substr(4)))
            return clampedTo(*yards, -fieldLength, fieldLength);
    }
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
