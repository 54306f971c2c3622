#pragma once

#include <string_view>

// The situation of a play or of the current down, written in the game file as
// "V,3,7,H35": team in possession, down, yards to go, side of the field and
// yard line.
struct PlayContext {
    char offense = 0; // 'H' or 'V'
    int down = 0;
    int toGo = 0;
    char side = 0; // half of the field the ball is in, 'H' or 'V'
    int yard = 0;
    // How many of the five fields were read, in the order above; the fields
    // after a mismatch keep their zero values.
    int fieldsRead = 0;

    // Reads a context text. A text that breaks off early gives the fields up
    // to the break.
    static PlayContext Parse(std::string_view text);
};
