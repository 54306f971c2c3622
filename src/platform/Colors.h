#pragma once

#include <cstdint>

// A 24-bit colour as the program stores it: red in the low byte, then green,
// then blue (the Windows COLORREF layout).
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}

constexpr int GetRValue(COLORREF c)
{
    return static_cast<int>(c & 0xff);
}
constexpr int GetGValue(COLORREF c)
{
    return static_cast<int>((c >> 8) & 0xff);
}
constexpr int GetBValue(COLORREF c)
{
    return static_cast<int>((c >> 16) & 0xff);
}

// The system colours the windows draw with.
enum SysColor {
    COLOR_WINDOW,
    COLOR_WINDOWTEXT,
    COLOR_CAPTIONTEXT,
    COLOR_HIGHLIGHT,
    COLOR_HIGHLIGHTTEXT,
    COLOR_BTNFACE,
    COLOR_BTNSHADOW,
    COLOR_BTNHIGHLIGHT,
    COLOR_BTNTEXT,
};

// One fixed classic palette, so that the program looks the same on every
// desktop and pixels can be checked exactly.
constexpr COLORREF GetSysColor(SysColor index)
{
    switch (index) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
        return RGB(0, 0, 0);
    case COLOR_CAPTIONTEXT:
        return RGB(255, 255, 255);
    case COLOR_HIGHLIGHT:
        return RGB(10, 36, 106);
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_BTNFACE:
        return RGB(212, 208, 200);
    case COLOR_BTNSHADOW:
        return RGB(128, 128, 128);
    case COLOR_BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    case COLOR_BTNTEXT:
        return RGB(0, 0, 0);
    }
    return RGB(0, 0, 0);
}

// The colours that tell the two teams apart wherever a row, a chart bar or the
// legend stands for one: the home team black on white, the visitor white on grey.
struct TeamColors {
    COLORREF text;
    COLORREF background;
};

// The colours of team 0 (home) or 1 (visitor).
constexpr TeamColors TeamColorsOf(int team)
{
    return team == 0 ? TeamColors{RGB(0, 0, 0), RGB(255, 255, 255)}
                     : TeamColors{RGB(255, 255, 255), RGB(128, 128, 128)};
}
