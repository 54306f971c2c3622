#include "CStatGridCtrl.h"

#include "gamedata/CSeasonStats.h"
#include "gamedata/TextNumbers.h"
#include "platform/GdiPainting.h"
#include "platform/Messages.h"
#include "platform/QtConversions.h"
#include "views/StatTable.h"

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
    return Wrapper().Wrap(text, maxWidth);
}

const TextWrapper &CStatGridCtrl::Wrapper() const
{
    wrapper_.SetFont(font());
    return wrapper_;
}

void CStatGridCtrl::ShowRows(const StatTable &table)
{
    // Thousands of rows: the scroll bars and the screen follow once, at the end.
    const RedrawPause pause(*this);
    DeleteAllItems();
    const auto composed = [](const TableCell &cell) {
        return cell.bold ? QStringLiteral("&") + cell.text : cell.text;
    };
    for (int r = 0; r < table.RowCount(); ++r) {
        const TableRow &row = table.rows[static_cast<std::size_t>(r)];
        InsertItem(r, composed(row.Cell(0)));
        for (int column = 1; column < static_cast<int>(row.cells.size()); ++column) {
            const TableCell &cell = row.Cell(column);
            if (!cell.text.isEmpty() || cell.bold)
                SetItemText(r, column, composed(cell));
        }
        if (row.itemData != 0)
            SetItemData(r, row.itemData);
        if (row.textColor)
            SetCellTextColor(r, -1, *row.textColor);
        if (row.background)
            SetCellBkColor(r, -1, *row.background);
        for (int column = 0; column < static_cast<int>(row.cells.size()); ++column) {
            const TableCell &cell = row.Cell(column);
            if (cell.textColor)
                SetCellTextColor(r, column, *cell.textColor);
            if (cell.background)
                SetCellBkColor(r, column, *cell.background);
        }
    }
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
