#include "PixelArt.h"

#include <QPolygonF>
#include <array>
#include <map>

namespace pylonix::artwork
{

namespace
{

enum Segment : unsigned { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

// A segment of `style` along the line from `from` to `to`, with pointed ends.
QPolygonF SegmentShape(QPointF from, QPointF to, const SegmentStyle &style)
{
    const double half = style.thickness / 2.0;
    const double inset = style.gap;
    if (from.y() == to.y()) {
        const double y = from.y();
        const double left = from.x() + inset;
        const double right = to.x() - inset;
        return QPolygonF({{left, y},
                          {left + half, y - half},
                          {right - half, y - half},
                          {right, y},
                          {right - half, y + half},
                          {left + half, y + half}});
    }
    const double x = from.x();
    const double top = from.y() + inset;
    const double bottom = to.y() - inset;
    return QPolygonF({{x, top},
                      {x + half, top + half},
                      {x + half, bottom - half},
                      {x, bottom},
                      {x - half, bottom - half},
                      {x - half, top + half}});
}

// The seven segment outlines in cell coordinates, before the slant.
std::array<QPolygonF, 7> SegmentShapes(const SegmentStyle &style)
{
    const double half = style.thickness / 2.0;
    const double left = style.box.left() + half;
    const double right = style.box.right() - half;
    const double top = style.box.top() + half;
    const double bottom = style.box.bottom() - half;
    const double middle = (top + bottom) / 2.0;
    return {
        SegmentShape({left, top}, {right, top}, style),        // a
        SegmentShape({right, top}, {right, middle}, style),    // b
        SegmentShape({right, middle}, {right, bottom}, style), // c
        SegmentShape({left, bottom}, {right, bottom}, style),  // d
        SegmentShape({left, middle}, {left, bottom}, style),   // e
        SegmentShape({left, top}, {left, middle}, style),      // f
        SegmentShape({left, middle}, {right, middle}, style),  // g
    };
}

// Five rows per letter, '#' for a lit pixel.
const std::map<QChar, std::array<const char *, 5>> &Letters()
{
    static const std::map<QChar, std::array<const char *, 5>> letters{
        {'A', {".##.", "#..#", "####", "#..#", "#..#"}},
        {'B', {"###.", "#..#", "###.", "#..#", "###."}},
        {'C', {".###", "#...", "#...", "#...", ".###"}},
        {'D', {"###.", "#..#", "#..#", "#..#", "###."}},
        {'E', {"####", "#...", "###.", "#...", "####"}},
        {'F', {"####", "#...", "###.", "#...", "#..."}},
        {'G', {".###", "#...", "#.##", "#..#", ".###"}},
        {'H', {"#..#", "#..#", "####", "#..#", "#..#"}},
        {'I', {"###", ".#.", ".#.", ".#.", "###"}},
        {'K', {"#..#", "#.#.", "##..", "#.#.", "#..#"}},
        {'L', {"#...", "#...", "#...", "#...", "####"}},
        {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
        {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#"}},
        {'O', {".##.", "#..#", "#..#", "#..#", ".##."}},
        {'P', {"###.", "#..#", "###.", "#...", "#..."}},
        {'Q', {".##.", "#..#", "#..#", "#.#.", ".#.#"}},
        {'R', {"###.", "#..#", "###.", "#.#.", "#..#"}},
        {'S', {".###", "#...", ".##.", "...#", "###."}},
        {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
        {'U', {"#..#", "#..#", "#..#", "#..#", ".##."}},
        {'V', {"#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
        {'W', {"#...#", "#...#", "#.#.#", "##.##", "#...#"}},
        {'X', {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
        {'Y', {"#...#", ".#.#.", "..#..", "..#..", "..#.."}},
        {':', {".", "#", ".", "#", "."}},
        {' ', {"..", "..", "..", "..", ".."}},
    };
    return letters;
}

int LetterWidth(QChar c)
{
    const auto found = Letters().find(c);
    return found == Letters().end() ? 0 : static_cast<int>(qstrlen(found->second[0]));
}

void SetPixel(QImage &image, int x, int y, QColor colour)
{
    if (image.rect().contains(x, y))
        image.setPixelColor(x, y, colour);
}

} // namespace

unsigned SegmentsOfDigit(int digit)
{
    static constexpr std::array<unsigned, 10> kDigits{
        A | B | C | D | E | F,     // 0
        B | C,                     // 1
        A | B | G | E | D,         // 2
        A | B | G | C | D,         // 3
        F | G | B | C,             // 4
        A | F | G | C | D,         // 5
        A | F | G | E | C | D,     // 6
        A | B | C,                 // 7
        A | B | C | D | E | F | G, // 8
        A | B | C | D | F | G,     // 9
    };
    return digit >= 0 && digit <= 9 ? kDigits[static_cast<std::size_t>(digit)] : 0;
}

void PaintSegments(QImage &image, QPoint origin, const SegmentStyle &style, unsigned segments,
                   QColor colour)
{
    const std::array<QPolygonF, 7> shapes = SegmentShapes(style);
    const double middle = style.box.center().y();
    for (int y = 0; y < style.cell.height(); ++y) {
        for (int x = 0; x < style.cell.width(); ++x) {
            // Undo the slant on the pixel centre instead of slanting the shapes.
            const QPointF centre(x + 0.5 - (middle - (y + 0.5)) * style.slant, y + 0.5);
            for (std::size_t s = 0; s < shapes.size(); ++s) {
                if ((segments & (1u << s)) && shapes[s].containsPoint(centre, Qt::OddEvenFill)) {
                    SetPixel(image, origin.x() + x, origin.y() + y, colour);
                    break;
                }
            }
        }
    }
}

int LetteringWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text)
        width += LetterWidth(c) + 1;
    return width > 0 ? width - 1 : 0;
}

void PaintLettering(QImage &image, QPoint origin, const QString &text, QColor colour, int dot,
                    int pitch)
{
    int column = 0;
    for (const QChar c : text) {
        const auto found = Letters().find(c);
        if (found == Letters().end())
            continue;
        const auto &rows = found->second;
        const int width = LetterWidth(c);
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < width; ++col) {
                if (rows[static_cast<std::size_t>(row)][col] != '#')
                    continue;
                for (int dy = 0; dy < dot; ++dy)
                    for (int dx = 0; dx < dot; ++dx)
                        SetPixel(image, origin.x() + (column + col) * pitch + dx,
                                 origin.y() + row * pitch + dy, colour);
            }
        }
        column += width + 1;
    }
}

void PaintLetteringCentred(QImage &image, int centreX, int top, const QString &text, QColor colour,
                           int dot, int pitch)
{
    const int width = (LetteringWidth(text) - 1) * pitch + dot;
    PaintLettering(image, QPoint(centreX - width / 2, top), text, colour, dot, pitch);
}

QImage ImageAndMask(const QImage &picture, QColor background)
{
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const int w = source.width();
    QImage pair(2 * w, source.height(), QImage::Format_RGB32);
    const QRgb ground = background.rgb();
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = source.pixel(x, y);
            const bool drawn = pixel != ground;
            pair.setPixel(x, y, drawn ? pixel : qRgb(0, 0, 0));
            pair.setPixel(w + x, y, drawn ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return pair;
}

} // namespace pylonix::artwork
