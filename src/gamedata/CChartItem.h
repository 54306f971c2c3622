#pragma once

#include "platform/Colors.h"

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

// One entry of the drive chart list: a drive, or one play of a drive.
// Positions are yards from the home team's goal line.
struct CChartItem {
    // An immutable text of an entry. Copies share one buffer: every entry that
    // refers to the same drive (or quarter) holds its texts once, however
    // many entries there are.
    class Text
    {
    public:
        Text() = default;
        explicit Text(std::string text)
            : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text)))
        {
        }

        // `text` cut to at most `maxBytes` bytes, never inside a UTF-8 character.
        static Text Bounded(std::string_view text, std::size_t maxBytes)
        {
            if (text.size() > maxBytes) {
                std::size_t end = maxBytes;
                while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
                    --end;
                text = text.substr(0, end);
            }
            return Text(std::string(text));
        }

        // The text; the empty string when none was set.
        const std::string &str() const
        {
            static const std::string none;
            return text_ ? *text_ : none;
        }
        operator const std::string &() const { return str(); }
        bool empty() const { return !text_; }
        std::size_t size() const { return str().size(); }

        friend bool operator==(const Text &a, std::string_view b) { return a.str() == b; }
        friend bool operator==(const Text &a, const Text &b) { return a.str() == b.str(); }
        friend std::ostream &operator<<(std::ostream &out, const Text &text)
        {
            return out << text.str();
        }

    private:
        std::shared_ptr<const std::string> text_;
    };

    // Longest text an entry takes from an element it refers to (its drive,
    // its quarter, a team's short name) rather than from its own element.
    // Real values are a few characters; the cap keeps a file in which many
    // entries refer to one huge attribute from multiplying it.
    static constexpr std::size_t maxReferencedText = 64;

    int team = 0;       // 0 home, 1 visitor
    int lowYard = 0;    // lower of the start and end positions
    int highYard = 0;   // higher of the two
    int driveIndex = 0; // drives only
    int reversed = 0;   // 1 when the end position was below the start position
    int lostGround = 0; // drives: team XOR reversed; plays: 1 when no yards were gained
    Text startSpot;
    Text endSpot;
    Text startTime;
    Text endTime;
    Text startHow; // plays: the play's text
    Text endHow;
    Text startQtr;
    Text endQtr;
    Text plays;
    Text yards;
    Text top;                  // drives: time of possession; plays: down and distance "%d-%d"
    bool yardsDerived = false; // plays: the file gave no yards; they were worked out
    COLORREF fillColor = RGB(255, 255, 255);
    COLORREF outlineColor = RGB(0, 0, 0);

    bool operator==(const CChartItem &) const = default;
};
