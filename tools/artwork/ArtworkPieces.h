#pragma once

#include <QImage>
#include <QString>
#include <vector>

// Every bitmap of the program, drawn from scratch.
namespace pylonix::artwork
{

// Small digits (141): ten 11x21 cells one under the other, image left, mask right.
QImage SmallDigits();
// Large digits (142), the same arrangement.
QImage LargeDigits();
// Scoreboard while the game is live (143), 176x80.
QImage LiveScoreboard();
// Scoreboard when the game is final (152), 176x80.
QImage FinalScoreboard();
// Possession marker (144), 10x7, drawn plain.
QImage PossessionMarker();

// Title picture (131), 128x80.
QImage TitlePicture();
// A page-button icon (132-139): 16x16 image, then its 16x16 mask.
QImage ButtonIcon(int id);
// Legend of the statistics pages (146): 213x11 image and its mask.
QImage StatsLegend();
// Key to the play-by-play result codes (153): 94x49 image and its mask.
QImage ResultCodeKey();
// The window icon (128) at `size` x `size`.
QImage ProgramIconImage(int size);

// One bitmap to write: its resource number, file name and picture.
struct ArtworkFile {
    int id;
    QString name;
    QImage image;
};
std::vector<ArtworkFile> AllArtwork();

} // namespace pylonix::artwork
