#pragma once

#include "platform/Colors.h"

// The colours and image of one cell.
struct CSubItemData {
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    COLORREF selTextColor = 0;
    COLORREF selBkColor = 0;
    int image = -1; // -1 = no image
};
