#include "platform/Fonts.h"

#include "platform/DialogUnits.h"

#include <QFontDatabase>
#include <QStringList>
#include <cmath>
#include <limits>

namespace
{

constexpr const char *kMonospaceFamily = "DejaVu Sans Mono";
constexpr int kClassicPoints = 8;

// Text is laid out character by character without kerning or shaping, as
// the classic dialogs did: widths add up the same way everywhere and tables
// of thousands of cells measure and draw quickly.
void UseClassicLayout(QFont &font)
{
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
}

double MetricDistance(const QSize &units)
{
    const QSize target = kClassicDialogBaseUnits;
    return std::abs(units.width() - target.width()) / double(target.width()) +
           std::abs(units.height() - target.height()) / double(target.height());
}

// The stand-in of the default family list, measured once: the fonts a
// process can use do not change while it runs.
const StandInFace &DefaultStandIn()
{
    static const StandInFace face = StandInDialogFace();
    return face;
}

} // namespace

StandInFace StandInDialogFace(const QStringList &families)
{
    StandInFace best{QStringLiteral("DejaVu Sans"), 11};
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const QString &family : families) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        // 8 points are 10.7 pixels at 96 dpi; the classic font's cell was 13
        // pixels high, so look a little either side.
        for (int pixels = 9; pixels <= 13; ++pixels) {
            QFont font(family);
            font.setPixelSize(pixels);
            UseClassicLayout(font);
            const double distance = MetricDistance(DialogBaseUnits(font));
            if (distance < bestDistance) {
                bestDistance = distance;
                best = StandInFace{family, pixels};
            }
        }
    }
    return best;
}

QFont CreatePointFont(const QString &face, int points, int weight)
{
    const bool monospace = face.compare(QLatin1String("Lucida Console"), Qt::CaseInsensitive) == 0;
    QFont font;
    if (monospace) {
        font.setFamily(QString::fromLatin1(kMonospaceFamily));
        font.setPointSize(points);
    } else {
        // Other sizes scale the stand-in's pixel size, so that a bigger face
        // keeps the proportions the stand-in has at 8 points.
        const StandInFace &standIn = DefaultStandIn();
        font.setFamily(standIn.family);
        font.setPixelSize(std::max(
            1, static_cast<int>(std::lround(double(standIn.pixelSize) * points / kClassicPoints))));
    }
    font.setWeight(static_cast<QFont::Weight>(weight));
    UseClassicLayout(font);
    return font;
}

QFont DialogFont()
{
    return CreatePointFont(QStringLiteral("MS Sans Serif"), kClassicPoints);
}

QFont SystemFont()
{
    return CreatePointFont(QStringLiteral("System"), kClassicPoints);
}
