#pragma once

#include <QIcon>
#include <QImage>

// The program's bitmaps by resource number: 128 window icon, 131 title picture,
// 132-139 page-button icons, 141 small and 142 large digits, 143 live and 152
// final scoreboard, 144 possession marker, 146 statistics legend, 153 key to
// the play-by-play result codes. Pictures with a mask hold the image in their
// left half and the mask in their right half.

// The bitmap with resource number `id` (32 bits per pixel), or a null image
// when the program has no such bitmap.
QImage LoadBitmapResource(int id);

// The bitmap with resource number `id` drawn at twice its size, for screens
// of twice the pixel density (every bitmap but the window icon), or a null
// image when the program has none. Its device pixel ratio is 1.
QImage LoadDoubleSizeBitmapResource(int id);

// The bitmap with resource number `id` for a device of `ratio` pixels to the
// layout pixel: from 2 on the one drawn at twice the size, with a device pixel
// ratio of 2, where there is one; else the bitmap at its own size.
QImage LoadBitmapResourceForRatio(int id, qreal ratio);

// The window icon in every size the program has.
QIcon ProgramIcon();
