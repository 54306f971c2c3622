#include "gridctrl/CZrGridListCtrl.h"

#include "platform/ControlIds.h"
#include "platform/Fonts.h"
#include "platform/QtConversions.h"
#include "platform/SystemMetrics.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <numeric>

CZrGridListCtrl::CZrGridListCtrl(QWidget *parent, int id)
    : QAbstractScrollArea(parent), gridPen_(ToQColor(GetSysColor(COLOR_BTNSHADOW)), 1),
      selBkColor_(GetSysColor(COLOR_HIGHLIGHT)), selTextColor_(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      textColor_(GetSysColor(COLOR_BTNTEXT)), bkColor_(GetSysColor(COLOR_WINDOW))
{
    SetDlgCtrlID(this, id);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);

    header_ = new CFlatHdrCtrl(this);
    connect(header_, &CFlatHdrCtrl::ColumnClicked, this, &CZrGridListCtrl::OnHeaderColumnClicked);
    connect(header_, &CFlatHdrCtrl::TrackEnded, this, &CZrGridListCtrl::OnHeaderTrackEnded);
    connect(header_, &CFlatHdrCtrl::TrackMoved, viewport(), qOverload<>(&QWidget::update));
    connect(header_, &CFlatHdrCtrl::DividerDoubleClicked, this,
            &CZrGridListCtrl::OnHeaderDividerDoubleClicked);

    // A click on a scroll bar gives the control the focus first.
    for (QScrollBar *bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QScrollBar::actionTriggered, this, [this] { setFocus(); });
        connect(bar, &QScrollBar::sliderPressed, this, [this] { setFocus(); });
    }
    setFont(DialogFont());
    UpdateMetrics();
}

CZrGridListCtrl::~CZrGridListCtrl() = default;

// ---- Flags and styles ----

void CZrGridListCtrl::SetFlags(std::uint32_t flags)
{
    flags_ = flags;
    viewport()->update();
}

void CZrGridListCtrl::ModifyFlags(std::uint32_t remove, std::uint32_t add)
{
    SetFlags((flags_ & ~remove) | add);
}

void CZrGridListCtrl::SetSingleSelection(bool single)
{
    singleSelection_ = single;
    if (single) {
        const int first = GetFirstSelectedRow();
        for (int row = first + 1; first >= 0 && row < GetItemCount(); ++row)
            ChangeState(row, 0, LVIS_SELECTED);
    }
}

void CZrGridListCtrl::SetShowSelectionAlways(bool always)
{
    showSelectionAlways_ = always;
    viewport()->update();
}

void CZrGridListCtrl::SetRowSpacing(int spacing)
{
    rowSpacing_ = spacing;
    UpdateMetrics();
}

void CZrGridListCtrl::SetGridPen(Qt::PenStyle style, int width, COLORREF colour)
{
    gridPen_ = QPen(QBrush(ToQColor(colour)), width, style);
    viewport()->update();
}

void CZrGridListCtrl::SetSmallImageList(std::vector<QPixmap> images)
{
    images_ = std::move(images);
    viewport()->update();
}

// ---- Columns ----

int CZrGridListCtrl::GetColumnCount() const
{
    return header_->GetItemCount();
}

int CZrGridListCtrl::InsertColumn(int column, const QString &caption, int format, int width)
{
    if (column < 0)
        return -1;
    column = header_->InsertItem(column, caption, format, std::max(0, width));
    for (Row &row : rows_) {
        if (column < static_cast<int>(row.texts.size()))
            row.texts.insert(row.texts.begin() + column, QString());
        if (row.data)
            row.data->InsertColumn(column);
    }
    UpdateScrollBars();
    viewport()->update();
    return column;
}

bool CZrGridListCtrl::DeleteColumn(int column)
{
    if (!ValidColumn(column))
        return false;
    header_->DeleteItem(column);
    for (Row &row : rows_) {
        if (column < static_cast<int>(row.texts.size()))
            row.texts.erase(row.texts.begin() + column);
        if (row.data)
            row.data->DeleteColumn(column);
    }
    if (focusColumn_ >= GetColumnCount())
        focusColumn_ = -1;
    if (selectedColumn_ >= GetColumnCount())
        selectedColumn_ = -1;
    UpdateScrollBars();
    viewport()->update();
    return true;
}

void CZrGridListCtrl::SetColumnText(int column, const QString &text)
{
    if (!text.isNull())
        header_->SetItemText(column, text);
}

QString CZrGridListCtrl::GetColumnText(int column) const
{
    return header_->GetItemText(column);
}

int CZrGridListCtrl::GetColumnWidth(int column) const
{
    return header_->GetItemWidth(column);
}

bool CZrGridListCtrl::SetColumnWidth(int column, int width)
{
    // The same width again moves nothing on the screen.
    if (ValidColumn(column) && GetColumnWidth(column) == std::max(0, width))
        return true;
    if (!header_->SetItemWidth(column, std::max(0, width)))
        return false;
    UpdateScrollBars();
    viewport()->update();
    return true;
}

int CZrGridListCtrl::GetColumnFormat(int column) const
{
    return header_->GetItemFormat(column);
}

int CZrGridListCtrl::ColumnLeft(int column) const
{
    return header_->GetItemLeft(column) - horizontalScrollBar()->value();
}

// ---- Rows ----

CSubItemData CZrGridListCtrl::DefaultCell() const
{
    return CSubItemData{textColor_, bkColor_, selTextColor_, selBkColor_, -1};
}

int CZrGridListCtrl::InsertItem(int row, const QString &text, int image)
{
    if (row < 0)
        return -1;
    row = std::min(row, GetItemCount());
    Row item;
    item.data = std::make_unique<CItemData>();
    const int columns = GetColumnCount();
    for (int column = columns - 1; column >= 0; --column) {
        CSubItemData cell = DefaultCell();
        cell.image = column == 0 ? image : -1;
        item.data->SetCell(column, cell);
    }
    item.texts.resize(std::max(columns, 1));
    item.texts[0] = text;
    rows_.insert(rows_.begin() + row, std::move(item));
    if (focusedRow_ >= row)
        ++focusedRow_;
    if (anchorRow_ >= row)
        ++anchorRow_;
    RowsMovedFrom(row);
    return row;
}

bool CZrGridListCtrl::DeleteItem(int row)
{
    if (!ValidRow(row))
        return false;
    rows_.erase(rows_.begin() + row);
    if (focusedRow_ == row)
        focusedRow_ = -1;
    else if (focusedRow_ > row)
        --focusedRow_;
    if (anchorRow_ == row)
        anchorRow_ = -1;
    else if (anchorRow_ > row)
        --anchorRow_;
    RowsMovedFrom(row);
    return true;
}

bool CZrGridListCtrl::DeleteAllItems()
{
    rows_.clear();
    rows_.shrink_to_fit();
    focusedRow_ = -1;
    anchorRow_ = -1;
    RowsMovedFrom(0);
    return true;
}

void CZrGridListCtrl::ClearRowStates()
{
    for (int row = 0; row < GetItemCount(); ++row) {
        if (rows_[row].state != 0) {
            rows_[row].state = 0;
            RedrawRow(row);
        }
    }
    focusedRow_ = -1;
    anchorRow_ = -1;
}

void CZrGridListCtrl::RowsMovedFrom(int row)
{
    if (!redraw_) {
        movedFrom_ = movedFrom_ ? std::min(*movedFrom_, row) : row;
        return;
    }
    UpdateScrollBars();
    RedrawFrom(row);
}

void CZrGridListCtrl::RedrawFrom(int row)
{
    // Rows below the screen change nothing that is shown; rows above it
    // move every row on it.
    if (!isVisible() || row > GetTopIndex() + GetCountPerPage())
        return;
    const int top = std::max(0, GetRowRect(std::max(row, GetTopIndex())).top);
    viewport()->update(QRect(0, top, viewport()->width(), viewport()->height() - top));
}

void CZrGridListCtrl::SetRedraw(bool redraw)
{
    redraw_ = redraw;
    if (redraw) {
        UpdateScrollBars();
        if (movedFrom_)
            RedrawFrom(*movedFrom_);
        movedFrom_.reset();
    }
}

bool CZrGridListCtrl::SetItemText(int row, int column, const QString &text)
{
    if (!ValidRow(row) || !ValidColumn(column))
        return false;
    std::vector<QString> &texts = rows_[row].texts;
    if (column >= static_cast<int>(texts.size()))
        texts.resize(column + 1);
    const bool same = texts[column] == text;
    texts[column] = text;
    if (column == 0)
        OnItemChanged(row, 0);
    if (!same)
        RedrawRow(row);
    return true;
}

QString CZrGridListCtrl::GetItemText(int row, int column) const
{
    if (flags_ & GLF_TEXTCALLBACK)
        return GetCellText(row, column);
    return CZrGridListCtrl::GetCellText(row, column);
}

QString CZrGridListCtrl::GetCellText(int row, int column) const
{
    if (!ValidRow(row) || column < 0 || column >= static_cast<int>(rows_[row].texts.size()))
        return QString();
    return rows_[row].texts[column];
}

bool CZrGridListCtrl::SetItemData(int row, std::int32_t data)
{
    if (!ValidRow(row) || !rows_[row].data)
        return false;
    rows_[row].data->data = data;
    return true;
}

std::int32_t CZrGridListCtrl::GetItemData(int row) const
{
    if (!ValidRow(row) || !rows_[row].data)
        return 0;
    return rows_[row].data->data;
}

const CItemData *CZrGridListCtrl::GetRowData(int row) const
{
    return ValidRow(row) ? rows_[row].data.get() : nullptr;
}

// ---- States ----

unsigned CZrGridListCtrl::GetItemState(int row, unsigned mask) const
{
    return ValidRow(row) ? rows_[row].state & mask : 0;
}

bool CZrGridListCtrl::SetItemState(int row, unsigned state, unsigned mask)
{
    if (row == -1) {
        for (int r = 0; r < GetItemCount(); ++r)
            SetItemState(r, state, mask & ~LVIS_FOCUSED);
        if ((mask & LVIS_FOCUSED) && !(state & LVIS_FOCUSED))
            SetFocusedRow(-1);
        return true;
    }
    if (!ValidRow(row))
        return false;
    if (mask & LVIS_FOCUSED)
        SetFocusedRow((state & LVIS_FOCUSED) ? row : (focusedRow_ == row ? -1 : focusedRow_));
    if ((mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && singleSelection_) {
        for (int r = 0; r < GetItemCount(); ++r) {
            if (r != row)
                ChangeState(r, 0, LVIS_SELECTED);
        }
    }
    ChangeState(row, state, mask & LVIS_SELECTED);
    return true;
}

void CZrGridListCtrl::ChangeState(int row, unsigned state, unsigned mask)
{
    const unsigned oldState = rows_[row].state;
    const unsigned newState = (oldState & ~mask) | (state & mask);
    if (newState == oldState)
        return;
    rows_[row].state = newState;
    // The hooks answer the notice of a change already made, so the list
    // reports the new state in them. They belong to derived tables and may
    // change the rows.
    OnStateChanging(row, 0, newState);
    if (!ValidRow(row))
        return;
    OnStateChanged(row, 0, oldState, newState);
    if (!ValidRow(row))
        return;
    OnItemChanged(row, 0);
    RedrawRow(row);
}

void CZrGridListCtrl::SetFocusedRow(int row)
{
    if (row == focusedRow_)
        return;
    if (ValidRow(focusedRow_))
        ChangeState(focusedRow_, 0, LVIS_FOCUSED);
    focusedRow_ = row;
    if (ValidRow(row))
        ChangeState(row, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CZrGridListCtrl::SelectAll(bool select)
{
    if (select && singleSelection_)
        return;
    for (int row = 0; row < GetItemCount(); ++row)
        ChangeState(row, select ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int CZrGridListCtrl::GetFirstSelectedRow() const
{
    for (int row = 0; row < GetItemCount(); ++row) {
        if (rows_[row].state & LVIS_SELECTED)
            return row;
    }
    return -1;
}

int CZrGridListCtrl::GetSelectedCount() const
{
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const Row &row) {
        return (row.state & LVIS_SELECTED) != 0;
    }));
}

// ---- Cell colours ----

CSubItemData *CZrGridListCtrl::CellData(int row, int column)
{
    if (!ValidRow(row) || !rows_[row].data)
        return nullptr;
    return rows_[row].data->Cell(column);
}

const CSubItemData *CZrGridListCtrl::CellData(int row, int column) const
{
    return const_cast<CZrGridListCtrl *>(this)->CellData(row, column);
}

template <typename Apply> void CZrGridListCtrl::ForEachCell(int row, int column, Apply apply)
{
    const int firstRow = row == -1 ? 0 : row;
    const int lastRow = row == -1 ? GetItemCount() - 1 : row;
    const int firstColumn = column == -1 ? 0 : column;
    const int lastColumn = column == -1 ? GetColumnCount() - 1 : column;
    for (int r = std::max(firstRow, 0); r <= lastRow && r < GetItemCount(); ++r) {
        for (int c = std::max(firstColumn, 0); c <= lastColumn; ++c) {
            if (CSubItemData *cell = CellData(r, c))
                apply(*cell);
        }
    }
}

void CZrGridListCtrl::SetCellTextColor(int row, int column, COLORREF colour)
{
    ForEachCell(row, column, [colour](CSubItemData &cell) { cell.textColor = colour; });
}

void CZrGridListCtrl::SetCellBkColor(int row, int column, COLORREF colour)
{
    ForEachCell(row, column, [colour](CSubItemData &cell) { cell.bkColor = colour; });
}

void CZrGridListCtrl::SetCellImage(int row, int column, int image)
{
    ForEachCell(row, column, [image](CSubItemData &cell) { cell.image = image; });
    if (row == -1)
        viewport()->update();
    else
        RedrawRow(row);
}

COLORREF CZrGridListCtrl::GetCellTextColor(int row, int column) const
{
    const CSubItemData *cell = CellData(row, column);
    return cell ? cell->textColor : textColor_;
}

COLORREF CZrGridListCtrl::GetCellBkColor(int row, int column) const
{
    const CSubItemData *cell = CellData(row, column);
    return cell ? cell->bkColor : bkColor_;
}

COLORREF CZrGridListCtrl::GetCellSelTextColor(int row, int column) const
{
    const CSubItemData *cell = CellData(row, column);
    return cell ? cell->selTextColor : GetSysColor(COLOR_HIGHLIGHTTEXT);
}

COLORREF CZrGridListCtrl::GetCellSelBkColor(int row, int column) const
{
    const CSubItemData *cell = CellData(row, column);
    return cell ? cell->selBkColor : GetSysColor(COLOR_HIGHLIGHT);
}

int CZrGridListCtrl::GetCellImage(int row, int column) const
{
    const CSubItemData *cell = CellData(row, column);
    return cell ? cell->image : -1;
}

// ---- Sorting ----

bool CZrGridListCtrl::SortItems(const std::function<int(std::int32_t, std::int32_t)> &compare)
{
    if (!compare)
        return false;
    const int focused = focusedRow_;
    const int anchor = anchorRow_;
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compare(GetItemData(a), GetItemData(b)) < 0; });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(rows_[order[i]]));
        if (order[i] == focused)
            focusedRow_ = static_cast<int>(i);
        if (order[i] == anchor)
            anchorRow_ = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    viewport()->update();
    return true;
}

// ---- Geometry ----

void CZrGridListCtrl::UpdateMetrics()
{
    const QFontMetrics metrics(font());
    rowHeight_ = std::max(1, metrics.height() + metrics.leading() + 1 + rowSpacing_);
    spaceWidth_ = metrics.horizontalAdvance(QLatin1Char(' '));
    LayoutHeader();
    UpdateScrollBars();
    viewport()->update();
}

void CZrGridListCtrl::LayoutHeader()
{
    const int height = header_->sizeHint().height();
    if (viewportMargins().top() != height)
        setViewportMargins(0, height, 0, 0);
    const QRect area = viewport()->geometry();
    header_->setGeometry(area.x(), area.y() - height, area.width(), height);
    header_->SetOffset(horizontalScrollBar()->value());
}

void CZrGridListCtrl::UpdateScrollBars()
{
    // When everything fits the viewport without scroll bars, both go, even
    // if one of them is showing now and takes room.
    const QSize whole = maximumViewportSize();
    const bool fits =
        header_->GetTotalWidth() <= whole.width() && GetItemCount() * rowHeight_ <= whole.height();
    const QSize area = fits ? whole : viewport()->size();
    const int page = std::max(0, area.height() / rowHeight_);
    QScrollBar *vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, GetItemCount() - page));
    vertical->setPageStep(std::max(1, page));
    vertical->setSingleStep(1);
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, header_->GetTotalWidth() - area.width()));
    horizontal->setPageStep(std::max(1, area.width()));
    horizontal->setSingleStep(std::max(1, spaceWidth_ * 3));
}

void CZrGridListCtrl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    LayoutHeader();
    UpdateScrollBars();
    header_->update();
}

void CZrGridListCtrl::scrollContentsBy(int dx, int dy)
{
    if (dx != 0)
        header_->SetOffset(horizontalScrollBar()->value());
    (void)dy;
    viewport()->update();
}

void CZrGridListCtrl::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange && header_)
        UpdateMetrics();
}

int CZrGridListCtrl::GetTopIndex() const
{
    return verticalScrollBar()->value();
}

int CZrGridListCtrl::GetCountPerPage() const
{
    return std::max(0, viewport()->height() / rowHeight_);
}

bool CZrGridListCtrl::EnsureVisible(int row, bool partialOK)
{
    if (!ValidRow(row))
        return false;
    const int top = GetTopIndex();
    const int page = std::max(1, GetCountPerPage());
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + page) {
        const bool partlyShown =
            row == top + page && (row - top) * rowHeight_ < viewport()->height();
        if (!(partialOK && partlyShown))
            verticalScrollBar()->setValue(row - page + 1);
    }
    return true;
}

CRect CZrGridListCtrl::GetRowRect(int row) const
{
    const int top = (row - GetTopIndex()) * rowHeight_;
    const int left = -horizontalScrollBar()->value();
    return CRect(left, top, left + header_->GetTotalWidth(), top + rowHeight_);
}

CRect CZrGridListCtrl::GetCellRect(int row, int column) const
{
    const int top = (row - GetTopIndex()) * rowHeight_;
    int left = ColumnLeft(column);
    const int right = left + GetColumnWidth(column);
    if (column == 0)
        left += GetSystemMetrics(SM_CXEDGE); // the icon edge
    return CRect(left, top, std::max(left, right), top + rowHeight_);
}

int CZrGridListCtrl::HitTest(const QPoint &pos, int *column) const
{
    if (column)
        *column = -1;
    if (pos.y() < 0)
        return -1;
    const int row = GetTopIndex() + pos.y() / rowHeight_;
    if (!ValidRow(row))
        return -1;
    if (column) {
        const int x = pos.x() + horizontalScrollBar()->value();
        int left = 0;
        for (int c = 0; c < GetColumnCount(); ++c) {
            const int right = left + GetColumnWidth(c);
            if (x >= left && x < right) {
                *column = c;
                break;
            }
            left = right;
        }
    }
    return row;
}

QSize CZrGridListCtrl::ApproximateViewRect() const
{
    const int frame = 2 * frameWidth();
    return QSize(header_->GetTotalWidth() + frame, header_->sizeHint().height() +
                                                       GetItemCount() * rowHeight_ + frame +
                                                       GetSystemMetrics(SM_CYHSCROLL) + 1);
}

void CZrGridListCtrl::RedrawItems(int first, int last)
{
    first = std::max(first, GetTopIndex());
    last = std::min(last, GetItemCount() - 1);
    if (first > last || !isVisible())
        return;
    const int top = GetRowRect(first).top;
    viewport()->update(QRect(0, top, viewport()->width(), GetRowRect(last).bottom - top));
}

bool CZrGridListCtrl::IsRowOnScreen(int row) const
{
    const int top = GetTopIndex();
    return isVisible() && row >= top && row <= top + GetCountPerPage();
}

void CZrGridListCtrl::RedrawRow(int row)
{
    if (!ValidRow(row) || !IsRowOnScreen(row))
        return;
    const CRect rect = GetRowRect(row);
    viewport()->update(QRect(0, rect.top, viewport()->width(), rect.Height()));
}

void CZrGridListCtrl::EnsureCellVisible(int row, int column)
{
    if (!ValidColumn(column))
        return;
    const CRect client = FromQRect(viewport()->rect());
    const CRect cell = GetCellRect(row, column);
    int delta = 0;
    if (cell.right > client.right) {
        delta = cell.Width() > client.Width() ? cell.left - client.left : cell.right - client.right;
    } else if (cell.left < client.left) {
        delta = cell.left - client.left;
        if ((flags_ & GLF_ROWHEADER) && column == 1)
            delta -= GetColumnWidth(0) + 10;
    }
    if (delta != 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + delta);
    viewport()->update();
}

void CZrGridListCtrl::EditCell(int row, int column)
{
    EnsureCellVisible(row, column);
}

void CZrGridListCtrl::EndEdit(int row, int column, const std::optional<QString> &text)
{
    (void)column;
    (void)text;
    setFocus();
    RedrawRow(row);
}

void CZrGridListCtrl::EndEditForward(int row, int column, const std::optional<QString> &text)
{
    EndEdit(row, column, text);
}

void CZrGridListCtrl::OnColumnClick(int) {}
void CZrGridListCtrl::OnStateChanged(int, int, unsigned, unsigned) {}
void CZrGridListCtrl::OnStateChanging(int, int, unsigned) {}
void CZrGridListCtrl::OnItemChanged(int, int) {}
