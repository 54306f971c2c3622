#pragma once

#include <QImage>
#include <QString>
#include <vector>

// Every bitmap of the program, drawn from scratch. Each takes a scale: 2
// draws it for screens of twice the pixel density.
namespace pylonix::artwork
{

// Small digits (141): ten 11x21 cells one under the other, image left, mask right.
QImage SmallDigits(int scale = 1);
// Large digits (142), the same arrangement.
QImage LargeDigits(int scale = 1);
// Scoreboard while the game is live (143), 176x80.
QImage LiveScoreboard(int scale = 1);
// Scoreboard when the game is final (152), 176x80.
QImage FinalScoreboard(int scale = 1);
// Possession marker (144), 10x7, drawn plain.
QImage PossessionMarker(int scale = 1);

// Title picture (131), 128x80.
QImage TitlePicture(int scale = 1);
// A page-button icon (132-139): 16x16 image, then its 16x16 mask.
QImage ButtonIcon(int id, int scale = 1);
// Legend of the statistics pages (146): 213x11 image and its mask.
QImage StatsLegend(int scale = 1);
// Key to the play-by-play result codes (153): 94x49 image and its mask.
QImage ResultCodeKey(int scale = 1);
// The window icon (128) at `size` x `size`.
QImage ProgramIconImage(int size);

// One bitmap to write: its resource number, file name and picture.
struct ArtworkFile {
    int id;
    QString name;
    QImage image;
};
// Every bitmap at its own size, then each but the window icon drawn at twice
// it, named with "@2x".
std::vector<ArtworkFile> AllArtwork();

} // namespace pylonix::artwork
