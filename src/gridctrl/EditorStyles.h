#pragma once

#include <cstdint>

// Window styles the in-place editor factories understand in their extra style.
constexpr std::uint32_t WS_HSCROLL = 0x00100000;  // combo box: its list scrolls sideways
constexpr std::uint32_t WS_DISABLED = 0x08000000; // the editor starts disabled
constexpr std::uint32_t CBS_DROPDOWN = 0x2;       // combo box with an edit part
constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3;   // combo box without one
constexpr std::uint32_t ES_READONLY = 0x800;      // edit box that cannot be changed
