#include "CPlayByPlayGrid.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"

#include <cctype>
#include <climits>
#include <optional>
#include <string>

namespace
{

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// Reads the fields of texts such as "H,1,10,V35" the way scanf reads them:
// a conversion that does not match stops the reading, and what was not read
// stays unset. Numbers beyond the int range are clamped.
class FieldReader
{
public:
    explicit FieldReader(const std::string &text) : text_(text) {}

    std::optional<char> Char()
    {
        if (failed_ || pos_ >= text_.size())
            return fail<char>();
        return text_[pos_++];
    }

    bool Literal(char c)
    {
        if (failed_ || pos_ >= text_.size() || text_[pos_] != c) {
            failed_ = true;
            return false;
        }
        ++pos_;
        return true;
    }

    std::optional<int> Int()
    {
        if (failed_)
            return std::nullopt;
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        std::size_t at = pos_;
        const bool negative = at < text_.size() && text_[at] == '-';
        if (at < text_.size() && (text_[at] == '-' || text_[at] == '+'))
            ++at;
        if (at >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[at])))
            return fail<int>();
        long long value = 0;
        for (; at < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at])); ++at)
            value = std::min<long long>(value * 10 + (text_[at] - '0'), 1LL << 32);
        pos_ = at;
        value = negative ? -value : value;
        return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }

private:
    template <typename T> std::optional<T> fail()
    {
        failed_ = true;
        return std::nullopt;
    }

    const std::string &text_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

int teamOfSide(std::optional<char> side)
{
    return side == 'H' ? 0 : 1;
}

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

} // namespace

void CPlayByPlayGrid::SetupColumns()
{
    AddColumn(0, QStringLiteral("Down"), LVCFMT_LEFT, 40, kSortText, false);
    AddColumn(1, QStringLiteral("Ball On"), LVCFMT_CENTER, 55, kSortText, false);
    AddColumn(2, QStringLiteral("Play"), LVCFMT_LEFT, 300, kSortText, false);
    AddColumn(3, QString(), LVCFMT_CENTER, 40, kSortText, false);
}

void CPlayByPlayGrid::Fill(const CGameDocument &document, std::span<const CTeamStats, 2> teams)
{
    // Thousands of rows: the scroll bars and the screen follow once, at the end.
    const RedrawPause pause(*this);
    DeleteAllItems();
    bool white = true;
    const std::string predicate =
        quarter_ <= 0 ? std::string() : "[@number='" + std::to_string(quarter_) + "']";
    const auto nodes = document.SelectNodes("/fbgame/plays/qtr" + predicate + "/*");
    if (!nodes)
        return;
    auto attribute = [&document](CXmlNode node, const char *name) {
        return document.GetNodeText(node, name, "0");
    };
    const QString shortNames[2] = {text(teams[0].GetTeamValue("Short Name")),
                                   text(teams[1].GetTeamValue("Short Name"))};
    auto shortName = [&shortNames](std::optional<char> side) {
        return shortNames[teamOfSide(side)];
    };
    const int playWidth = GetColumnWidth(kPlayColumn) - 6;

    int row = 0;
    for (const CXmlNode node : *nodes) {
        int lines = 1;
        if (document.HasNode(node, "self::play")) {
            const std::string context = attribute(node, "@context");
            FieldReader reader(context);
            reader.Char();
            reader.Literal(',');
            const std::optional<int> down = reader.Int();
            reader.Literal(',');
            const std::optional<int> distance = reader.Int();
            reader.Literal(',');
            const std::optional<char> side = reader.Char();
            const std::optional<int> yard = reader.Int();
            InsertItem(row,
                       QStringLiteral("%1-%2").arg(down.value_or(0)).arg(distance.value_or(0)));
            // Without a ball position there is nothing to show in its column.
            if (side && yard)
                SetItemText(row, 1, shortName(side) + QString::number(*yard));

            const QStringList parts = WrapText(text(attribute(node, "@text")), playWidth);
            SetItemText(row, kPlayColumn, parts.front());
            for (int k = 1; k < parts.size(); ++k) {
                InsertItem(row + k, QString());
                SetItemText(row + k, kPlayColumn, parts[k]);
            }
            lines = static_cast<int>(parts.size());

            const std::string type = attribute(node, "@type");
            const std::string first = attribute(node, "@first");
            QString code = type == "R"   ? QStringLiteral("r")
                           : type == "P" ? QStringLiteral("p")
                                         : QStringLiteral(" ");
            if (first == "R")
                code = QStringLiteral("&R");
            else if (first == "P")
                code = QStringLiteral("&P");
            else if (first == "E")
                code = QStringLiteral("&X");
            SetItemText(row, 3, code + text(attribute(node, "@yds")));
            SetRowRangeColors(row, lines, kBlack, white ? kWhite : kShadedPlayColor);
            white = !white;
        } else if (document.HasNode(node, "self::drivestart")) {
            InsertItem(row, QString());
            const std::string spot = attribute(node, "@spot");
            FieldReader reader(spot);
            const std::optional<char> side = reader.Char();
            const std::optional<int> yard = reader.Int();
            const int driving = attribute(node, "@vh") == "H" ? 0 : 1;
            SetItemText(row, kPlayColumn,
                        QStringLiteral("&%1 drive start on %2%3 at %4")
                            .arg(text(teams[driving].GetTeamValue("Name")), shortName(side),
                                 QString::number(yard.value_or(0)),
                                 text(attribute(node, "@clock"))));
            SetRowColors(row, kWhite, kBlack);
            white = true;
        } else if (document.HasNode(node, "self::drivesum")) {
            InsertItem(row, QString());
            const QString top = showTOP_
                                    ? QStringLiteral(", TOP: %1").arg(text(attribute(node, "@top")))
                                    : QString();
            SetItemText(
                row, kPlayColumn,
                QStringLiteral("Drive summary: %1 plays, %2 yards%3")
                    .arg(text(attribute(node, "@plays")), text(attribute(node, "@yards")), top));
            SetRowColors(row, kWhite, kGrey);
        } else if (document.HasNode(node, "self::comment")) {
            InsertItem(row, QString());
            SetItemText(row, kPlayColumn, text(attribute(node, "@text")));
            SetRowColors(row, kWhite, kGrey);
        } else if (document.HasNode(node, "self::score")) {
            InsertItem(row, QString());
            SetItemText(row, kPlayColumn,
                        QStringLiteral("%1 %2 - %3 %4")
                            .arg(text(teams[0].GetTeamValue("Name")), text(attribute(node, "@H")),
                                 text(teams[1].GetTeamValue("Name")), text(attribute(node, "@V"))));
            SetRowColors(row, kBlack, kScoreLineColor);
        } else if (document.HasNode(node, "self::endqtr")) {
            InsertItem(row, QString());
            SetItemText(row, kPlayColumn, QStringLiteral("&End of quarter"));
            SetRowColors(row, kWhite, kGrey);
        } else {
            continue;
        }
        row += lines;
    }
}
