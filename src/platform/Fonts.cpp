#include "platform/Fonts.h"

#include <array>
#include <utility>

namespace
{

constexpr const char *kDefaultFamily = "DejaVu Sans";

// Requested face -> family that stands in for it.
constexpr std::array<std::pair<const char *, const char *>, 3> kStandIns{{
    {"MS Sans Serif", "DejaVu Sans"},
    {"Lucida Console", "DejaVu Sans Mono"},
    {"Tahoma", "DejaVu Sans"},
}};

} // namespace

QFont CreatePointFont(const QString &face, int points, int weight)
{
    QString family = QString::fromLatin1(kDefaultFamily);
    for (const auto &[requested, standIn] : kStandIns) {
        if (face.compare(QLatin1String(requested), Qt::CaseInsensitive) == 0)
            family = QString::fromLatin1(standIn);
    }
    QFont font(family);
    font.setPointSize(points);
    font.setWeight(static_cast<QFont::Weight>(weight));
    // Text is laid out character by character without kerning or shaping, as
    // the classic dialogs did: widths add up the same way everywhere and
    // tables of thousands of cells measure and draw quickly.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont DialogFont()
{
    return CreatePointFont(QStringLiteral("MS Sans Serif"), 8);
}

QFont SystemFont()
{
    return CreatePointFont(QStringLiteral("System"), 8);
}
