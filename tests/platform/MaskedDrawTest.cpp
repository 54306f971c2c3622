// The masked draw and the compiled-in bitmaps.
#include "platform/MaskedDraw.h"
#include "platform/Artwork.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{

// One 2x2 cell pair side by side, image left, mask right.
//   image: (0,0) red, (1,0) black, (0,1) green, (1,1) black
//   mask:  (2,0) black, (3,0) white, (2,1) black, (3,1) white
QImage TwoByTwoPair()
{
    QImage bitmap(4, 2, QImage::Format_RGB32);
    bitmap.setPixel(0, 0, qRgb(255, 0, 0));
    bitmap.setPixel(1, 0, qRgb(0, 0, 0));
    bitmap.setPixel(0, 1, qRgb(0, 200, 0));
    bitmap.setPixel(1, 1, qRgb(0, 0, 0));
    bitmap.setPixel(2, 0, qRgb(0, 0, 0));
    bitmap.setPixel(3, 0, qRgb(255, 255, 255));
    bitmap.setPixel(2, 1, qRgb(0, 0, 0));
    bitmap.setPixel(3, 1, qRgb(255, 255, 255));
    return bitmap;
}

QImage Background(QRgb colour)
{
    QImage target(6, 4, QImage::Format_RGB32);
    target.fill(colour);
    return target;
}

TEST(MaskedDraw, BlackMaskShowsTheImageAndWhiteMaskKeepsTheBackground)
{
    const QRgb blue = qRgb(20, 40, 220);
    QImage target = Background(blue);
    DrawMasked(target, QPoint(2, 1), TwoByTwoPair(), QRect(0, 0, 2, 2), QRect(2, 0, 2, 2));

    // Under black mask pixels the background is cleared and the image shows.
    EXPECT_EQ(target.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(2, 2), qRgb(0, 200, 0));
    // Under white mask pixels the background stays (image black adds nothing).
    EXPECT_EQ(target.pixel(3, 1), blue);
    EXPECT_EQ(target.pixel(3, 2), blue);
    // Outside the cell nothing changes.
    EXPECT_EQ(target.pixel(1, 1), blue);
    EXPECT_EQ(target.pixel(4, 2), blue);
    EXPECT_EQ(target.pixel(2, 0), blue);
    EXPECT_EQ(target.pixel(2, 3), blue);
}

TEST(MaskedDraw, ImageColourUnderWhiteMaskIsOredIntoTheBackground)
{
    // The classic operation adds image bits wherever they are set, whatever
    // the mask says: a non-black image pixel under a white mask pixel mixes.
    QImage bitmap = TwoByTwoPair();
    bitmap.setPixel(1, 0, qRgb(0x0f, 0x00, 0x80));
    QImage target = Background(qRgb(0x30, 0x40, 0x01));
    DrawMasked(target, QPoint(0, 0), bitmap, QRect(0, 0, 2, 2), QRect(2, 0, 2, 2));
    EXPECT_EQ(target.pixel(1, 0), qRgb(0x3f, 0x40, 0x81));
}

TEST(MaskedDraw, CellOutsideTheBitmapDrawsNothing)
{
    const QRgb grey = qRgb(90, 90, 90);
    QImage target = Background(grey);
    DrawMasked(target, QPoint(0, 0), TwoByTwoPair(), QRect(0, 1, 2, 2), QRect(2, 1, 2, 2));
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            EXPECT_EQ(target.pixel(x, y), grey) << x << "," << y;
}

TEST(Artwork, EveryBitmapHasItsListedSize)
{
    struct Expected {
        int id;
        QSize size;
    };
    const Expected bitmaps[] = {
        {131, {128, 80}}, {132, {32, 16}},  {133, {32, 16}},  {134, {32, 16}},
        {135, {32, 16}},  {136, {32, 16}},  {137, {32, 16}},  {138, {32, 16}},
        {139, {32, 16}},  {141, {22, 210}}, {142, {22, 210}}, {143, {176, 80}},
        {144, {10, 7}},   {146, {426, 11}}, {152, {176, 80}}, {153, {188, 49}},
    };
    for (const Expected &bitmap : bitmaps) {
        const QImage image = LoadBitmapResource(bitmap.id);
        EXPECT_EQ(image.size(), bitmap.size) << bitmap.id;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << bitmap.id;
    }
    EXPECT_TRUE(LoadBitmapResource(140).isNull());
    EXPECT_FALSE(LoadBitmapResource(128).isNull());
    EXPECT_FALSE(ProgramIcon().pixmap(32, 32).isNull());
}

// Every picture with a mask half must be black in its image half wherever the
// mask is white, or the OR step would tint the background there.
TEST(Artwork, ImageHalvesAreBlackWhereTheMaskLetsTheBackgroundThrough)
{
    for (const int id : {132, 133, 134, 135, 136, 137, 138, 139, 141, 142, 146, 153}) {
        const QImage pair = LoadBitmapResource(id);
        const int half = pair.width() / 2;
        int opaque = 0;
        for (int y = 0; y < pair.height(); ++y) {
            for (int x = 0; x < half; ++x) {
                const QRgb mask = pair.pixel(half + x, y) & 0xffffff;
                ASSERT_TRUE(mask == 0 || mask == 0xffffff) << id << " at " << x << "," << y;
                if (mask == 0xffffff)
                    ASSERT_EQ(pair.pixel(x, y) & 0xffffff, 0u) << id << " at " << x << "," << y;
                else
                    ++opaque;
            }
        }
        EXPECT_GT(opaque, 0) << id << " draws nothing";
    }
}

TEST(Artwork, EveryDigitCellDiffersFromTheOthers)
{
    for (const int id : {141, 142}) {
        const QImage strip = LoadBitmapResource(id);
        for (int a = 0; a < 10; ++a)
            for (int b = a + 1; b < 10; ++b)
                EXPECT_NE(strip.copy(0, 21 * a, 11, 21), strip.copy(0, 21 * b, 11, 21))
                    << id << ": digits " << a << " and " << b;
    }
}

} // namespace
