#pragma once

#include "gridctrl/CFlatHdrCtrl.h"
#include "gridctrl/CItemData.h"
#include "platform/CRect.h"
#include "platform/Colors.h"

#include <QAbstractScrollArea>
#include <QDateTime>
#include <QPen>
#include <QPixmap>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CButtonIPE;
class CComboBoxIPE;
class CDateTimeIPE;
class CEditIPE;
class CSpinnerIPE;
class QPainter;

// Behaviour flags of a grid.
constexpr std::uint32_t GLF_ROWHEADER = 0x1;     // column 0 is a raised row header
constexpr std::uint32_t GLF_FOCUSARROW = 0x2;    // triangle in column 0 of the focused row
constexpr std::uint32_t GLF_FULLROWSELECT = 0x4; // whole rows are selected, no current cell
constexpr std::uint32_t GLF_FIRSTCOLROW = 0x8;   // whole row highlighted while column 0 is selected
constexpr std::uint32_t GLF_EDITABLE = 0x10;     // in-place editors may be created
constexpr std::uint32_t GLF_CHECKBOXES = 0x20;   // "TRUE"/"FALSE" cells are check boxes
constexpr std::uint32_t GLF_NOHORZLINES = 0x40;  // no horizontal grid lines but the last
constexpr std::uint32_t GLF_NOVERTLINES = 0x80;  // no vertical grid lines but the last
constexpr std::uint32_t GLF_TEXTCALLBACK = 0x100; // cell texts come from GetCellText
constexpr std::uint32_t GLF_EDITONCLICK = 0x200;  // a click on an unselected cell edits it
constexpr std::uint32_t GLF_ENTEREDITS = 0x400;   // Enter edits the current cell

// Row states.
constexpr unsigned LVIS_FOCUSED = 0x1;
constexpr unsigned LVIS_SELECTED = 0x2;

// The report list every table of the program is built on: rows of cells with
// colours of their own, grid lines, whole-row or single-cell selection, a
// current cell moved by the keyboard, tooltips for texts that do not fit, and
// a flat header whose clicks reach the parent as column clicks. Rows scroll
// vertically by whole rows and horizontally by pixels.
//
// Notifications to the parent (CNotifyEvent): NM_DBLCLK (row and column of the
// cell under the mouse, both -1 outside every cell), LVN_COLUMNCLICK
// (column), HDN_ENDTRACK and HDN_DIVIDERDBLCLICK (column) after a column was
// resized. A derived table that wants the header's events itself connects to
// GetHeaderCtrl()'s signals; one that adds to the mouse and key handling
// overrides mousePressEvent / keyPressEvent and calls the base first.
class CZrGridListCtrl : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CZrGridListCtrl(QWidget *parent = nullptr, int id = 0);
    ~CZrGridListCtrl() override;

    // Flags and styles.
    std::uint32_t GetFlags() const { return flags_; }
    void SetFlags(std::uint32_t flags);
    void ModifyFlags(std::uint32_t remove, std::uint32_t add);
    // Only one row can be selected at a time.
    void SetSingleSelection(bool single);
    bool IsSingleSelection() const { return singleSelection_; }
    // The selection stays visible while the control does not have the focus.
    void SetShowSelectionAlways(bool always);
    bool IsShowSelectionAlways() const { return showSelectionAlways_; }
    // Pixels added to the font height for each row (4 by default).
    void SetRowSpacing(int spacing);
    int GetRowSpacing() const { return rowSpacing_; }
    // Replaces the pen of the grid lines.
    void SetGridPen(Qt::PenStyle style, int width, COLORREF colour);
    const QPen &GetGridPen() const { return gridPen_; }
    // The images cells can show by index; all of one size.
    void SetSmallImageList(std::vector<QPixmap> images);

    // Columns.
    int GetColumnCount() const;
    // Inserts a column before `column`; returns its index, -1 on failure.
    int InsertColumn(int column, const QString &caption, int format = LVCFMT_LEFT, int width = 60);
    bool DeleteColumn(int column);
    // Sets the header caption; a null text changes nothing.
    void SetColumnText(int column, const QString &text);
    QString GetColumnText(int column) const;
    int GetColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width);
    int GetColumnFormat(int column) const;
    CFlatHdrCtrl *GetHeaderCtrl() const { return header_; }

    // Rows.
    int GetItemCount() const { return static_cast<int>(rows_.size()); }
    // Inserts a row before `row` (at the end when past it) with the text of
    // column 0; every existing column gets cell data in the default colours.
    // Returns the new row's index, -1 on failure.
    int InsertItem(int row, const QString &text, int image = -1);
    bool DeleteItem(int row);
    // Deletes every row and all its data.
    bool DeleteAllItems();
    // Unselects every row and forgets the focused row and the anchor, as
    // deleting them would, without the state hooks; repaints the rows that had
    // a state.
    void ClearRowStates();
    bool SetItemText(int row, int column, const QString &text);
    // The stored text, or GetCellText's with GLF_TEXTCALLBACK.
    QString GetItemText(int row, int column) const;
    // The caller's row data; reading a row without row data gives 0.
    bool SetItemData(int row, std::int32_t data);
    std::int32_t GetItemData(int row) const;
    // The row's data object, null for none.
    const CItemData *GetRowData(int row) const;

    // States (LVIS_SELECTED, LVIS_FOCUSED). Row -1 sets every row.
    unsigned GetItemState(int row, unsigned mask) const;
    bool SetItemState(int row, unsigned state, unsigned mask);
    // Selects (true) or deselects every row.
    void SelectAll(bool select);
    // First selected row, -1 when none.
    int GetFirstSelectedRow() const;
    int GetSelectedCount() const;
    int GetFocusedRow() const { return focusedRow_; }
    // Column of the current cell, -1 for none.
    int GetFocusColumn() const { return focusColumn_; }
    // Column whose cells are highlighted in selected rows, -1 for none.
    int GetSelectedColumn() const { return selectedColumn_; }

    // Cell colours and images. Row -1 means every row, column -1 every
    // column; only cells with cell data change. Colours do not redraw.
    void SetCellTextColor(int row, int column, COLORREF colour);
    void SetCellBkColor(int row, int column, COLORREF colour);
    void SetCellImage(int row, int column, int image);
    // Colour queries, with their fallbacks for rows or cells without data.
    COLORREF GetCellTextColor(int row, int column) const;
    COLORREF GetCellBkColor(int row, int column) const;
    COLORREF GetCellSelTextColor(int row, int column) const;
    COLORREF GetCellSelBkColor(int row, int column) const;
    int GetCellImage(int row, int column) const;
    // Defaults given to new cells.
    COLORREF GetTextColor() const { return textColor_; }
    COLORREF GetBkColor() const { return bkColor_; }

    // Sorts the rows with a comparison of two rows' data (negative, zero or
    // positive, like strcmp). Equal rows keep their order; states move with
    // their rows.
    bool SortItems(const std::function<int(std::int32_t, std::int32_t)> &compare);

    // Repaints rows first..last (after colour changes, which do not repaint).
    void RedrawItems(int first, int last);
    // Off: inserting and deleting rows neither repaints nor updates the
    // scroll bars, so a fill of thousands of rows does that once, when it is
    // turned on again (repainting the rows from the first one inserted or
    // deleted down; a text set anew repaints its own row).
    void SetRedraw(bool redraw);
    // Redraw off for the life of the object, on again however the scope ends.
    class RedrawPause
    {
    public:
        explicit RedrawPause(CZrGridListCtrl &grid) : grid_(grid) { grid_.SetRedraw(false); }
        ~RedrawPause() { grid_.SetRedraw(true); }
        RedrawPause(const RedrawPause &) = delete;
        RedrawPause &operator=(const RedrawPause &) = delete;

    private:
        CZrGridListCtrl &grid_;
    };

    // Geometry. Cell and row rectangles are in viewport coordinates.
    int GetRowHeight() const { return rowHeight_; }
    int GetTopIndex() const;
    // Rows that fit the viewport whole.
    int GetCountPerPage() const;
    // Scrolls vertically so that the row is visible (wholly unless partialOK).
    bool EnsureVisible(int row, bool partialOK);
    // The cell's label rectangle; column 0 starts at the icon edge.
    CRect GetCellRect(int row, int column) const;
    // The whole row, across every column.
    CRect GetRowRect(int row) const;
    // Row under the point (-1 for none) and, in `column`, the column (-1 for none).
    int HitTest(const QPoint &viewportPos, int *column = nullptr) const;
    // Size of a window that shows every row and column, plus the height of a
    // horizontal scroll bar and 1: the layouts subtract SM_CYHSCROLL + 1 to get
    // the height that fits all rows.
    QSize ApproximateViewRect() const;

    // In-place editor factories; each returns null without GLF_EDITABLE. A
    // width above 0 replaces the cell's width, measured from its left edge.
    virtual CComboBoxIPE *CreateComboEditor(int row, int column, std::uint32_t extraStyle,
                                            int width = 0);
    virtual CEditIPE *CreateEditEditor(int row, int column, std::uint32_t extraStyle,
                                       const QString &text, int width = 0);
    // The spinner factory returns the edit; its Spinner() is the arrows beside it.
    virtual CEditIPE *CreateSpinnerEditor(int row, int column, std::uint32_t extraStyle,
                                          std::int32_t minimum, std::int32_t maximum,
                                          const QString &text, int width = 0);
    virtual CButtonIPE *CreateButtonEditor(int row, int column, std::uint32_t extraStyle,
                                           const QString &caption, int width = 0,
                                           int controlId = 0);
    virtual CDateTimeIPE *CreateDateEditor(int row, int column, std::uint32_t extraStyle,
                                           const QString &format, const QDateTime &dateTime,
                                           int width = 0);

    // The text of a cell; the base gives the stored text.
    virtual QString GetCellText(int row, int column) const;
    // Scrolls horizontally so that the cell is visible.
    virtual void EnsureCellVisible(int row, int column);
    // Starts editing a cell; the base only makes it visible.
    virtual void EditCell(int row, int column);
    // An editor ended, with its text (none when cancelled); the base gives
    // the focus back to the control and redraws the row.
    virtual void EndEdit(int row, int column, const std::optional<QString> &text);
    virtual void EndEditForward(int row, int column, const std::optional<QString> &text);
    // The tooltip for a point of the viewport: the cell's text (at most 80
    // characters) when it does not fit its cell; empty otherwise.
    QString CellToolTip(const QPoint &viewportPos, CRect *cellRect = nullptr) const;

public:
    // Whether the cell's text does not fit and would be cut with an ellipsis.
    bool IsCellTextCut(int row, int column) const;

protected:
    // Hooks that do nothing here: a column's header was clicked; a row's state
    // is about to change and has changed (column is always 0); a row changed.
    virtual void OnColumnClick(int column);
    virtual void OnStateChanged(int row, int column, unsigned oldState, unsigned newState);
    virtual void OnStateChanging(int row, int column, unsigned newState);
    virtual void OnItemChanged(int row, int column);
    // Drawing of one cell (its background, then its text), and of the focus
    // frame of a row; a table that draws its texts its own way overrides
    // DrawCellText.
    virtual void DrawCell(int row, int column, QPainter &dc);
    virtual void DrawCellBackground(int row, int column, CRect rect, bool selected, QPainter &dc);
    virtual void DrawCellText(int row, int column, CRect rect, bool selected, QPainter &dc);
    virtual void DrawFocus(int row, QPainter &dc);

    // Draws a text into a cell rectangle with the cell margins, aligned after
    // the column's format, vertically centred, with an ellipsis when too wide.
    void DrawTextInCell(QPainter &dc, const CRect &rect, const QString &text, int column) const;
    // Whether the cell is drawn selected (ignoring the focus rule).
    bool IsCellSelected(int row, int column) const;

    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Row {
        std::unique_ptr<CItemData> data;
        std::vector<QString> texts;
        unsigned state = 0;
    };

    bool ValidRow(int row) const { return row >= 0 && row < GetItemCount(); }
    bool ValidColumn(int column) const { return column >= 0 && column < GetColumnCount(); }
    CSubItemData *CellData(int row, int column);
    const CSubItemData *CellData(int row, int column) const;
    CSubItemData DefaultCell() const;
    template <typename Apply> void ForEachCell(int row, int column, Apply apply);

    void ChangeState(int row, unsigned state, unsigned mask);
    void SetFocusedRow(int row);
    void UpdateMetrics();
    void UpdateScrollBars();
    void LayoutHeader();
    void RedrawRow(int row);
    // Rows from `row` down moved (inserted or deleted): the scroll bars and
    // the rows on screen from there, now or when redraw is on again.
    void RowsMovedFrom(int row);
    // Repaints the viewport from the row's top down.
    void RedrawFrom(int row);
    // Whether any part of the row is in the viewport.
    bool IsRowOnScreen(int row) const;
    int TextMargin() const { return spaceWidth_; }
    CRect TextRect(int row, int column) const;
    int ColumnLeft(int column) const;

    void OnLButtonDown(QMouseEvent *event);
    void OnRButtonDown(QMouseEvent *event);
    void ListClick(int row, Qt::KeyboardModifiers modifiers, bool rightButton);
    // Makes the cell the current and selected one, as a click on it does.
    void SelectCell(int row, int column, Qt::KeyboardModifiers modifiers);
    void MoveToNeighbourCell(bool right, Qt::KeyboardModifiers modifiers);
    void MoveFocusedRow(int row, Qt::KeyboardModifiers modifiers);
    void AutoSizeColumn(int column);
    void OnHeaderColumnClicked(int column);
    void OnHeaderTrackEnded(int column);
    void OnHeaderDividerDoubleClicked(int column);
    void DrawCheckBox(QPainter &dc, const CRect &rect, bool ticked, COLORREF background,
                      COLORREF tick) const;
    void DrawFocusArrow(QPainter &dc, CRect rect, COLORREF colour) const;
    template <typename Editor> Editor *PlaceEditor(Editor *editor, const CRect &rect);
    // The cell an editor may cover, `width` pixels wide when given; nothing
    // when the grid is not editable or the cell does not exist.
    std::optional<CRect> EditableCellRect(int row, int column, int width) const;

    int focusColumn_ = -1;
    int selectedColumn_ = -1;
    std::uint32_t flags_ = 0;
    int rowSpacing_ = 4;
    CFlatHdrCtrl *header_ = nullptr; // owned as a child
    QPen gridPen_;
    COLORREF selBkColor_;
    COLORREF selTextColor_;
    COLORREF textColor_;
    COLORREF bkColor_;

    bool singleSelection_ = false;
    bool redraw_ = true;
    std::optional<int> movedFrom_; // the first row inserted or deleted while redraw was off
    bool showSelectionAlways_ = false;
    std::vector<Row> rows_;
    int focusedRow_ = -1;
    int anchorRow_ = -1;
    std::vector<QPixmap> images_;
    int rowHeight_ = 17;
    int spaceWidth_ = 3;
};
