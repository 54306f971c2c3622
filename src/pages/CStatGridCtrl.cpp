#include "CStatGridCtrl.h"

#include "gamedata/CSeasonStats.h"
#include "gamedata/TextNumbers.h"
#include "platform/GdiPainting.h"
#include "platform/Messages.h"
#include "platform/QtConversions.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>

namespace
{

double numberOf(const QString &text)
{
    return TextNumbers::LeadingNumber(text.toStdString());
}

// Keeps one digit behind the first decimal point: "12.34" -> "12.3".
std::string cutToOneDecimal(std::string value)
{
    const std::size_t point = value.find('.');
    if (point != std::string::npos && point + 2 < value.size())
        value.resize(point + 2);
    return value;
}

bool isWhiteSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QString trimmedEnd(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && isWhiteSpace(text[end - 1]))
        --end;
    text.truncate(end);
    return text;
}

QString trimmedStart(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && isWhiteSpace(text[start]))
        ++start;
    return text.mid(start);
}

} // namespace

CStatGridCtrl::CStatGridCtrl(QWidget *parent, int id) : CZrGridListCtrl(parent, id)
{
    SetGridPen(Qt::SolidLine, 1, RGB(0, 0, 0));
    // Connected after the grid's own handling, so the parent lays out the
    // column widths as they ended.
    connect(GetHeaderCtrl(), &CFlatHdrCtrl::TrackEnded, this,
            [this](int) { PostLayoutToParent(); });
    connect(GetHeaderCtrl(), &CFlatHdrCtrl::DividerDoubleClicked, this,
            [this](int) { PostLayoutToParent(); });
}

CStatGridCtrl::~CStatGridCtrl() = default;

void CStatGridCtrl::PostLayoutToParent()
{
    PostMessage(parentWidget(), UM_GRIDLAYOUT, 0, 0);
}

int CStatGridCtrl::AddColumn(int index, const QString &header, int alignment, int width,
                             int sortKind, bool leaders)
{
    sortKinds_.push_back(sortKind);
    leaders_.push_back(leaders);
    return InsertColumn(index, header, alignment, width);
}

void CStatGridCtrl::SetupColumns() {}

void CStatGridCtrl::FillTeam(const CTeamStats &, const CSeasonStats &) {}

int CStatGridCtrl::GetColumnSortKind(int column) const
{
    if (column < 0 || column >= static_cast<int>(sortKinds_.size()))
        return kSortText;
    return sortKinds_[column];
}

bool CStatGridCtrl::IsLeaderColumn(int column) const
{
    return column >= 0 && column < static_cast<int>(leaders_.size()) && leaders_[column];
}

void CStatGridCtrl::OnColumnClick(int column)
{
    if (sortable_)
        SortByColumn(column);
}

void CStatGridCtrl::SortByColumn(int column)
{
    if (column < 0 || column >= GetColumnCount())
        return;
    const int rows = GetItemCount();
    const bool repeated = column == lastSortedColumn_;
    const int kind = GetColumnSortKind(column);

    // While sorting, a row's data is its position before the sort, so the
    // comparison finds the row's key without reading cells; the row data
    // itself waits beside it. (Packing both into one value would lose player
    // indexes above 32767 and mix up tables of more than 65536 rows.)
    std::vector<std::int32_t> rowData(rows);
    for (int r = 0; r < rows; ++r) {
        rowData[r] = GetItemData(r);
        SetItemData(r, r);
    }
    auto position = [](std::int32_t data) { return static_cast<std::size_t>(data); };

    if (kind == kSortText) {
        std::vector<std::string> keys(rows);
        for (int r = 0; r < rows; ++r)
            keys[r] = GetItemText(r, column).toStdString();
        const int direction = repeated ? -1 : 1;
        SortItems([&](std::int32_t a, std::int32_t b) {
            const int order = keys[position(a)].compare(keys[position(b)]);
            return direction * (order < 0 ? -1 : order > 0 ? 1 : 0);
        });
    } else {
        std::vector<double> keys(rows);
        for (int r = 0; r < rows; ++r) {
            const std::string text = GetItemText(r, column).toStdString();
            keys[r] = kind == kSortInteger ? TextNumbers::LeadingInt(text)
                                           : TextNumbers::LeadingNumber(text);
        }
        const int direction = repeated ? 1 : -1;
        SortItems([&](std::int32_t a, std::int32_t b) {
            const double ka = keys[position(a)];
            const double kb = keys[position(b)];
            return direction * (ka < kb ? -1 : ka > kb ? 1 : 0);
        });
    }

    for (int r = 0; r < rows; ++r)
        SetItemData(r, rowData[position(GetItemData(r))]);
    lastSortedColumn_ = repeated ? -1 : column;
    viewport()->update();
}

void CStatGridCtrl::SetStatCell(int row, int column, const CTeamStats &team,
                                const CSeasonStats &season, int player, std::string_view label)
{
    const std::string value = cutToOneDecimal(team.GetPlayerValue(player, label));
    SetItemText(row, column, QString::fromStdString(value));

    const int seasonPlayer =
        season.FindPlayerByCheckName(team.GetPlayerValue(player, "Check Name"));
    if (seasonPlayer < 0)
        return;
    const std::string &played = season.GetPlayerValue(seasonPlayer, "Played");
    if (TextNumbers::LeadingInt(played) < 3)
        return;
    const double game = TextNumbers::LeadingNumber(value);
    const double seasonValue =
        TextNumbers::LeadingNumber(season.GetPlayerValue(seasonPlayer, label));
    // Averages compare as they stand; totals against the season total per game.
    const bool beats = label.find("Avg") != std::string_view::npos
                           ? game > seasonValue
                           : game > seasonValue / TextNumbers::LeadingNumber(played);
    if (beats)
        SetCellBkColor(row, column, kSeasonMarkColor);
}

void CStatGridCtrl::MarkColumnLeaders()
{
    const int rows = GetItemCount();
    std::vector<double> tenths(rows);
    for (int column = 0; column < GetColumnCount(); ++column) {
        if (!IsLeaderColumn(column))
            continue;
        // Compared in tenths, so 0.05 and 0 tie and a column below 0.1 marks nothing.
        double best = 1;
        for (int r = 0; r < rows; ++r) {
            tenths[r] = std::trunc(numberOf(GetItemText(r, column)) * 10.0);
            best = std::max(best, tenths[r]);
        }
        for (int r = 0; r < rows; ++r) {
            if (tenths[r] == best)
                SetCellTextColor(r, column, kLeaderColor);
        }
    }
}

void CStatGridCtrl::SetRowColors(int row, COLORREF text, COLORREF background)
{
    if (row < 0 || row >= GetItemCount())
        return;
    SetCellTextColor(row, -1, text);
    SetCellBkColor(row, -1, background);
}

void CStatGridCtrl::SetRowRangeColors(int first, int count, COLORREF text, COLORREF background)
{
    for (int row = first; row < first + count; ++row)
        SetRowColors(row, text, background);
}

QStringList CStatGridCtrl::WrapText(const QString &text, int maxWidth) const
{
    // Bounded, so that texts of long-gone games do not pile up.
    constexpr qsizetype kMaxRemembered = 50000;
    if (maxWidth != wrappedWidth_ || wrapped_.size() >= kMaxRemembered) {
        wrapped_.clear();
        wrappedWidth_ = maxWidth;
    }
    if (const auto known = wrapped_.constFind(text); known != wrapped_.constEnd())
        return *known;
    QStringList lines = WrapMeasured(text, maxWidth);
    wrapped_.insert(text, lines);
    return lines;
}

QStringList CStatGridCtrl::WrapMeasured(const QString &text, int maxWidth) const
{
    const QFontMetrics metrics(font());
    auto width = [&metrics](const QString &s, qsizetype length) {
        return metrics.horizontalAdvance(s.left(length));
    };
    QStringList lines;
    QString rest = trimmedStart(trimmedEnd(text));
    while (lines.size() <= 5) {
        // The first i for which i + 2 characters no longer fit. Widths grow
        // with the length; measuring a prefix shapes it anew, so the search
        // starts where the summed character advances cross the width (kerning
        // aside, the answer) and widens only as far as the measurements need.
        const qsizetype size = rest.size();
        auto tooWide = [&](qsizetype length) {
            return length >= size || width(rest, length) > maxWidth;
        };
        qsizetype guess = size;
        qreal sum = 0;
        for (qsizetype k = 0; k < size; ++k) {
            sum += CharAdvance(rest[k]);
            if (sum > maxWidth) {
                guess = k + 1;
                break;
            }
        }
        guess = std::max<qsizetype>(guess, 2);
        // A prefix too wide makes the whole rest too wide; only otherwise is
        // the whole measured.
        const bool guessTooWide = guess < size && width(rest, guess) > maxWidth;
        if (!guessTooWide && width(rest, size) <= maxWidth)
            break;
        // fits < length <= wide: prefixes of `fits` characters fit (or fewer
        // than two are never measured), the one of `wide` characters does not.
        qsizetype fits = 1;
        qsizetype wide = size;
        qsizetype step = 1;
        if (guessTooWide || guess >= size) {
            wide = guess;
            while (wide - step > fits) {
                if (!tooWide(wide - step)) {
                    fits = wide - step;
                    break;
                }
                wide -= step;
                step *= 2;
            }
        } else {
            fits = guess;
            while (fits + step < wide) {
                if (tooWide(fits + step)) {
                    wide = fits + step;
                    break;
                }
                fits += step;
                step *= 2;
            }
        }
        while (wide - fits > 1) {
            const qsizetype mid = fits + (wide - fits) / 2;
            if (tooWide(mid))
                wide = mid;
            else
                fits = mid;
        }
        const qsizetype low = wide - 2;
        const qsizetype cut = low + 1;
        const qsizetype lastSpace = rest.left(low + 1).lastIndexOf(u' ');
        QString line;
        if (lastSpace <= 0) {
            line = rest.left(cut);
            rest = rest.mid(cut);
        } else {
            line = rest.left(lastSpace);
            rest = rest.mid(lastSpace);
        }
        lines.append(trimmedEnd(line));
        rest = trimmedStart(rest);
    }
    lines.append(rest);
    return lines;
}

qreal CStatGridCtrl::CharAdvance(QChar c) const
{
    if (c.unicode() >= 128)
        return QFontMetricsF(font()).horizontalAdvance(c);
    if (!asciiAdvances_) {
        const QFontMetricsF metrics(font());
        std::array<qreal, 128> advances{};
        for (char16_t code = 32; code < 127; ++code)
            advances[code] = metrics.horizontalAdvance(QChar(code));
        asciiAdvances_ = advances;
    }
    return (*asciiAdvances_)[c.unicode()];
}

QString CStatGridCtrl::ShownText(const QString &cellText)
{
    return IsBoldText(cellText) ? cellText.mid(1) : cellText;
}

bool CStatGridCtrl::IsBoldText(const QString &cellText)
{
    return cellText.startsWith(u'&');
}

const QFont &CStatGridCtrl::BoldFont()
{
    if (!boldFont_) {
        QFont bold = font();
        bold.setWeight(QFont::Bold);
        boldFont_ = bold;
    }
    return *boldFont_;
}

void CStatGridCtrl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        boldFont_.reset();
        asciiAdvances_.reset();
        wrapped_.clear();
    }
    CZrGridListCtrl::changeEvent(event);
}

void CStatGridCtrl::DrawCellText(int row, int column, CRect rect, bool selected, QPainter &dc)
{
    const QString text = GetItemText(row, column);
    if (!IsBoldText(text)) {
        CZrGridListCtrl::DrawCellText(row, column, rect, selected, dc);
        return;
    }
    if (rect.IsRectEmpty())
        return;
    const COLORREF colour =
        selected ? GetCellSelTextColor(row, column) : GetCellTextColor(row, column);
    const int space = QFontMetrics(font()).horizontalAdvance(u' ');
    CRect area(rect.left + space, rect.top, rect.right - 2 * space, rect.bottom);
    if (area.left > area.right)
        std::swap(area.left, area.right);
    dc.save();
    dc.setPen(ToQColor(colour));
    dc.setFont(BoldFont());
    DrawTextLine(dc, area, text.mid(1), TextAlignOf(GetColumnFormat(column)));
    dc.restore();
}
