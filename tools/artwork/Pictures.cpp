// The title picture, the page-button icons, the two legends and the window
// icon. Pictures shown masked are drawn on the button face, the colour they
// stand on in the window, so that their smoothed edges blend into it.

#include "ArtworkPieces.h"
#include "PixelArt.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace pylonix::artwork
{

namespace
{

const QColor kButtonFace(212, 208, 200);
const QColor kLeather(150, 78, 34);
const QColor kLeatherDark(84, 40, 14);
const QColor kOutline(40, 40, 44);

QFont PixelFont(const QString &family, int pixels, bool bold, bool condensed = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    if (condensed)
        font.setStretch(QFont::Condensed);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Draws in the pixels of the 1x picture on an image `scale` times its size;
// at 1 the painter is left as it is.
void ScaleTo(QPainter &painter, int scale)
{
    if (scale != 1)
        painter.scale(scale, scale);
}

// A football of the given length centred on `centre`, turned by `angle` degrees.
void Football(QPainter &painter, QPointF centre, double length, double angle, double lineWidth)
{
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    const double height = length * 0.58;
    QPainterPath ball;
    ball.moveTo(-length / 2, 0);
    ball.quadTo(0, -height, length / 2, 0);
    ball.quadTo(0, height, -length / 2, 0);
    QRadialGradient shade(QPointF(-length * 0.12, -height * 0.18), length * 0.6);
    shade.setColorAt(0, kLeather.lighter(135));
    shade.setColorAt(1, kLeather.darker(125));
    painter.setPen(QPen(kLeatherDark, lineWidth));
    painter.setBrush(shade);
    painter.drawPath(ball);
    painter.setPen(QPen(QColor(255, 255, 250), lineWidth));
    const double lace = length * 0.22;
    painter.drawLine(QPointF(-lace, 0), QPointF(lace, 0));
    for (int i = -2; i <= 2; ++i) {
        const double x = i * lace / 2.2;
        painter.drawLine(QPointF(x, -height * 0.13), QPointF(x, height * 0.13));
    }
    painter.restore();
}

QImage IconCanvas(int scale)
{
    QImage icon(16 * scale, 16 * scale, QImage::Format_RGB32);
    icon.fill(kButtonFace);
    return icon;
}

void Clipboard(QPainter &p)
{
    p.setPen(QPen(QColor(92, 58, 24), 1));
    p.setBrush(QColor(176, 120, 60));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 14), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 4, 8, 10));
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(5, 0.5, 6, 3), 1, 1);
    p.setPen(QPen(QColor(60, 60, 70), 1));
    for (const double y : {6.5, 8.5, 10.5, 12.5})
        p.drawLine(QPointF(5, y), QPointF(y == 12.5 ? 8.5 : 11, y));
}

void Offense(QPainter &p)
{
    Football(p, QPointF(7, 8.5), 13, -35, 1.0);
    p.setPen(QPen(QColor(0, 140, 40), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(10, 13.5), QPointF(15, 13.5));
    p.drawLine(QPointF(13, 11.5), QPointF(15, 13.5));
    p.drawLine(QPointF(13, 15.5), QPointF(15, 13.5));
}

void Defense(QPainter &p)
{
    QPainterPath shield;
    shield.moveTo(8, 1);
    shield.lineTo(14.5, 3);
    shield.cubicTo(14.5, 9, 12, 13, 8, 15.5);
    shield.cubicTo(4, 13, 1.5, 9, 1.5, 3);
    shield.closeSubpath();
    QLinearGradient fill(0, 0, 16, 16);
    fill.setColorAt(0, QColor(70, 120, 220));
    fill.setColorAt(1, QColor(20, 50, 140));
    p.setPen(QPen(QColor(14, 28, 80), 1));
    p.setBrush(fill);
    p.drawPath(shield);
    p.setPen(QPen(Qt::white, 1.6));
    p.drawLine(QPointF(8, 3), QPointF(8, 13));
    p.drawLine(QPointF(4, 6), QPointF(12, 6));
}

void SpecialTeams(QPainter &p)
{
    const QColor post(236, 196, 0);
    p.setPen(QPen(QColor(120, 92, 0), 1));
    p.setBrush(post);
    p.drawRect(QRectF(6.5, 9.5, 3, 6));
    p.drawRect(QRectF(1.5, 8.5, 13, 2));
    p.drawRect(QRectF(1.5, 0.5, 2, 9));
    p.drawRect(QRectF(12.5, 0.5, 2, 9));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(2, 9, 12, 1));
    p.drawRect(QRectF(7, 9, 2, 2));
    Football(p, QPointF(8, 4), 7.5, -20, 0.8);
}

void Scoring(QPainter &p)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? 3.2 : 7.6;
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << QPointF(8 + radius * std::cos(angle), 8.6 + radius * std::sin(angle));
    }
    QLinearGradient fill(0, 1, 0, 15);
    fill.setColorAt(0, QColor(255, 236, 110));
    fill.setColorAt(1, QColor(228, 150, 0));
    p.setPen(QPen(QColor(130, 80, 0), 1));
    p.setBrush(fill);
    p.drawPolygon(star);
}

void PlayByPlay(QPainter &p)
{
    p.setPen(QPen(QColor(100, 100, 110), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 0.5, 13, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(224, 224, 224));
    p.drawRect(QRectF(2, 4, 12, 3));
    p.drawRect(QRectF(2, 10, 12, 3));
    for (int row = 0; row < 4; ++row) {
        const double y = 2 + row * 3;
        p.setBrush(row == 1 ? QColor(220, 0, 0) : QColor(30, 30, 30));
        p.drawRect(QRectF(3, y, 2, 2));
        p.setBrush(QColor(60, 60, 70));
        p.drawRect(QRectF(6, y + 0.5, row % 2 ? 5 : 7, 1));
    }
}

void DriveCharts(QPainter &p)
{
    p.setPen(QPen(QColor(20, 80, 30), 1));
    p.setBrush(QColor(40, 150, 60));
    p.drawRect(QRectF(0.5, 2.5, 15, 11));
    p.setPen(QPen(QColor(235, 255, 235), 1));
    for (const double x : {4.5, 8.5, 12.5})
        p.drawLine(QPointF(x, 3), QPointF(x, 13));
    p.setPen(QPen(QColor(255, 220, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(2.5, 10.5), QPointF(13, 6));
    p.drawLine(QPointF(13, 6), QPointF(10, 5));
    p.drawLine(QPointF(13, 6), QPointF(11.8, 8.8));
}

void Configure(QPainter &p)
{
    QPainterPath gear;
    const QPointF centre(8, 8);
    QPolygonF outline;
    for (int i = 0; i < 32; ++i) {
        const double angle = i * std::numbers::pi / 16;
        const double radius = (i / 2) % 2 ? 5.2 : 7.3;
        outline << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(centre, 2.2, 2.2);
    QLinearGradient fill(0, 0, 16, 16);
    fill.setColorAt(0, QColor(200, 204, 214));
    fill.setColorAt(1, QColor(96, 100, 112));
    p.setPen(QPen(QColor(50, 52, 60), 1));
    p.setBrush(fill);
    p.drawPath(gear);
}

} // namespace

QImage ButtonIcon(int id, int scale)
{
    QImage icon = IconCanvas(scale);
    {
        QPainter p(&icon);
        ScaleTo(p, scale);
        p.setRenderHint(QPainter::Antialiasing);
        switch (id) {
        case 132:
            Clipboard(p);
            break;
        case 133:
            SpecialTeams(p);
            break;
        case 134:
            Defense(p);
            break;
        case 135:
            DriveCharts(p);
            break;
        case 136:
            Offense(p);
            break;
        case 137:
            PlayByPlay(p);
            break;
        case 138:
            Scoring(p);
            break;
        case 139:
            Configure(p);
            break;
        default:
            break;
        }
    }
    return ImageAndMask(icon, kButtonFace);
}

QImage TitlePicture(int scale)
{
    QImage title(128 * scale, 80 * scale, QImage::Format_RGB32);
    QPainter p(&title);
    ScaleTo(p, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient grass(0, 0, 0, 80);
    grass.setColorAt(0, QColor(18, 96, 44));
    grass.setColorAt(1, QColor(6, 50, 22));
    p.fillRect(QRect(0, 0, 128, 80), grass);
    for (int x = 0; x < 128; x += 32)
        p.fillRect(QRect(x, 0, 16, 80), QColor(255, 255, 255, 14));
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    for (int x = 16; x < 128; x += 32)
        p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, 80));
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawRect(QRectF(0.5, 0.5, 127, 79));

    const auto spaced = [&](const QString &text, int pixels, qreal spacing, int baseline,
                            QColor colour) {
        QFont font = PixelFont(QStringLiteral("DejaVu Sans"), pixels, true);
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        p.setFont(font);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(text) - spacing;
        const QPointF at((128 - width) / 2, baseline);
        p.setPen(QColor(0, 0, 0, 150));
        p.drawText(at + QPointF(1, 1), text);
        p.setPen(colour);
        p.drawText(at, text);
    };
    const QColor gold(255, 212, 84);
    spaced(QStringLiteral("TORVELL"), 10, 3, 14, gold);
    spaced(QStringLiteral("Pylonix"), 25, 0, 39, Qt::white);
    spaced(QStringLiteral("FOOTBALL"), 10, 3, 52, gold);
    p.setPen(QPen(gold, 1));
    p.drawLine(QPointF(14, 58.5), QPointF(114, 58.5));
    Football(p, QPointF(64, 68.5), 28, -8, 1.2);
    return title;
}

QImage StatsLegend(int scale)
{
    QImage legend(213 * scale, 11 * scale, QImage::Format_RGB32);
    legend.fill(kButtonFace);
    QPainter p(&legend);
    ScaleTo(p, scale);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = PixelFont(QStringLiteral("DejaVu Sans"), 9, false);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const auto item = [&](int x, QColor swatch, const QString &text) {
        p.setPen(kOutline);
        p.setBrush(swatch);
        p.drawRect(QRect(x, 1, 8, 8));
        p.setPen(Qt::black);
        p.drawText(QRect(x + 12, 0, 200, 11), Qt::AlignLeft | Qt::AlignVCenter, text);
        return x + 12 + metrics.horizontalAdvance(text);
    };
    const int end = item(1, QColor(255, 0, 0), QStringLiteral("Team leader"));
    item(end + 9, QColor(192, 255, 192), QStringLiteral("Above season average"));
    return ImageAndMask(legend, kButtonFace);
}

QImage ResultCodeKey(int scale)
{
    QImage key(94 * scale, 49 * scale, QImage::Format_RGB32);
    key.fill(kButtonFace);
    QPainter p(&key);
    ScaleTo(p, scale);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::white);
    p.drawRect(QRect(0, 0, 93, 48));
    const QFont plain = PixelFont(QStringLiteral("DejaVu Sans"), 9, false, true);
    const QFont bold = PixelFont(QStringLiteral("DejaVu Sans"), 9, true, true);
    struct Row {
        const char *code;
        bool firstDown;
        const char *meaning;
    };
    const Row rows[] = {
        {"R", true, "first down by rush"},
        {"P", true, "first down by pass"},
        {"X", true, "first down, other"},
        {"r", false, "rush"},
        {"p", false, "pass"},
    };
    int y = 2;
    for (const Row &row : rows) {
        if (!row.firstDown) {
            p.fillRect(QRect(1, y, 92, 9), QColor(224, 224, 224));
        }
        p.setPen(Qt::black);
        p.setFont(row.firstDown ? bold : plain);
        p.drawText(QRect(4, y, 10, 9), Qt::AlignCenter, QString::fromLatin1(row.code));
        p.setFont(plain);
        p.drawText(QRect(16, y, 78, 9), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(row.meaning));
        y += 9;
    }
    return ImageAndMask(key, kButtonFace);
}

QImage ProgramIconImage(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient grass(0, 0, 0, 64);
    grass.setColorAt(0, QColor(30, 130, 60));
    grass.setColorAt(1, QColor(8, 62, 28));
    p.setPen(QPen(QColor(4, 40, 16), 2));
    p.setBrush(grass);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.setPen(QPen(QColor(255, 255, 255, 110), 2));
    for (const double x : {17.0, 32.0, 47.0})
        p.drawLine(QPointF(x, 4), QPointF(x, 60));
    Football(p, QPointF(32, 32), 50, -35, 2.4);
    return icon;
}

std::vector<ArtworkFile> AllArtwork()
{
    std::vector<ArtworkFile> files{
        {131, QStringLiteral("title"), TitlePicture()},
        {132, QStringLiteral("button-overview"), ButtonIcon(132)},
        {133, QStringLiteral("button-kicking"), ButtonIcon(133)},
        {134, QStringLiteral("button-defense"), ButtonIcon(134)},
        {135, QStringLiteral("button-drive-charts"), ButtonIcon(135)},
        {136, QStringLiteral("button-offense"), ButtonIcon(136)},
        {137, QStringLiteral("button-play-by-play"), ButtonIcon(137)},
        {138, QStringLiteral("button-scoring"), ButtonIcon(138)},
        {139, QStringLiteral("button-configure"), ButtonIcon(139)},
        {141, QStringLiteral("digits-small"), SmallDigits()},
        {142, QStringLiteral("digits-large"), LargeDigits()},
        {143, QStringLiteral("scoreboard-live"), LiveScoreboard()},
        {144, QStringLiteral("possession"), PossessionMarker()},
        {146, QStringLiteral("legend-statistics"), StatsLegend()},
        {152, QStringLiteral("scoreboard-final"), FinalScoreboard()},
        {153, QStringLiteral("legend-result-codes"), ResultCodeKey()},
    };
    for (const int size : {16, 32, 48, 64, 128, 256})
        files.push_back({128, QStringLiteral("icon-%1").arg(size), ProgramIconImage(size)});
    files.push_back({131, QStringLiteral("title@2x"), TitlePicture(2)});
    const std::pair<int, const char *> buttons[] = {
        {132, "button-overview"},     {133, "button-kicking"},   {134, "button-defense"},
        {135, "button-drive-charts"}, {136, "button-offense"},   {137, "button-play-by-play"},
        {138, "button-scoring"},      {139, "button-configure"},
    };
    for (const auto &[id, name] : buttons)
        files.push_back({id, QStringLiteral("%1@2x").arg(QLatin1String(name)), ButtonIcon(id, 2)});
    files.push_back({146, QStringLiteral("legend-statistics@2x"), StatsLegend(2)});
    files.push_back({153, QStringLiteral("legend-result-codes@2x"), ResultCodeKey(2)});
    files.push_back({141, QStringLiteral("digits-small@2x"), SmallDigits(2)});
    files.push_back({142, QStringLiteral("digits-large@2x"), LargeDigits(2)});
    files.push_back({143, QStringLiteral("scoreboard-live@2x"), LiveScoreboard(2)});
    files.push_back({144, QStringLiteral("possession@2x"), PossessionMarker(2)});
    files.push_back({152, QStringLiteral("scoreboard-final@2x"), FinalScoreboard(2)});
    return files;
}

} // namespace pylonix::artwork
