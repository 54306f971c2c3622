#pragma once

#include "platform/Colors.h"

#include <optional>
#include <string_view>

// The colours the outputs mark each team with (the score bug's team plates),
// home first as everywhere. The defaults tell the two teams apart on any
// picture: a navy home side and a crimson visitor.
struct TeamColorChoice {
    static constexpr COLORREF kDefaultHome = RGB(0x1d, 0x4f, 0x91);
    static constexpr COLORREF kDefaultVisitor = RGB(0xa6, 0x19, 0x2e);

    COLORREF home = kDefaultHome;
    COLORREF visitor = kDefaultVisitor;

    // The colour of a text "#RRGGBB" (hex digits in either case); none for
    // any other text.
    static std::optional<COLORREF> Parse(std::string_view text);

    friend bool operator==(const TeamColorChoice &, const TeamColorChoice &) = default;
};
