#pragma once

#include "gridctrl/CZrGridListCtrl.h"
#include "views/StatTable.h"
#include "views/TextWrapper.h"

#include <QFont>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

class CTeamStats;

// The table every statistics page is shown in. It shows a table value of the
// view model (ShowTable) and sorts it by a header click through the value's
// typed sort.
class CStatGridCtrl : public CZrGridListCtrl
{
    Q_OBJECT

public:
    explicit CStatGridCtrl(QWidget *parent = nullptr, int id = 0);
    ~CStatGridCtrl() override;

    // Creates the columns; called once, right after construction.
    virtual void SetupColumns();

    // Creates the columns of a table value (for SetupColumns).
    void ShowColumns(const std::vector<TableColumn> &columns);
    // Shows a table value: its columns when the grid has none yet (later
    // their captions and fitted widths, but widths the user dragged stay),
    // then its rows
    // with their texts, bold cells, colours and row data. A sortable table
    // sorts by header clicks, and a table the user sorted by a click comes
    // sorted by that column and direction, until a click sorts it otherwise.
    void ShowTable(StatTable table);
    // Fits the shown table anew with `fit` (which sets its drawn widths and
    // cuts; its rows stay as shown) and gives the columns their new widths,
    // but widths the user dragged stay. Cheap: no row is shown again.
    void RefitTable(const std::function<void(StatTable &)> &fit);
    // The table value shown, in the order shown (empty when none was).
    const StatTable &ShownTable() const { return shown_; }
    // A column's own width: the shown table's while the column keeps the
    // width fitted to its texts, else (the user or the program sized it
    // since) the one it has.
    int OwnColumnWidth(int column) const;

    // Sorts the shown table by a column as a click on its caption does (text
    // A to Z, numbers largest first; the same column again reverses, a third
    // time sorts as the first) and shows it again.
    void SortByColumn(int column);
    int LastSortedColumn() const { return shown_.sort.LastSortedColumn(); }
    // Whether a header click sorts the table.
    void SetSortable(bool sortable) { sortable_ = sortable; }

    // The wrapper of texts in the table's current font.
    const TextWrapper &Wrapper() const;

    // The text a cell is drawn with.
    QString CellText(int row, int column) const;
    // Whether a cell is drawn in bold, as the table value shown says.
    bool IsBoldCell(int row, int column) const;

signals:
    // A column was resized by the user: the parent may lay the tables out anew.
    void gridLayoutChanged();

protected:
    // Called by ShowTable once the rows of the new table are shown, with the
    // table shown before; does nothing here.
    virtual void TableShown(const StatTable &previous);
    void OnColumnClick(int column) override;
    void DrawCellText(int row, int column, CRect rect, bool selected, QPainter &dc) override;
    void changeEvent(QEvent *event) override;

private:
    const QFont &BoldFont();
    // Gives the columns the widths `table` was fitted to, but those the user sized.
    void ApplyFittedWidths(const StatTable &table);
    void PostLayoutToParent();
    // Makes the rows those of shown_, `previous` being the table shown before.
    void ShowRows(const StatTable &previous);
    // Whether grid row `r` shows `row` (`previous`: the table row it was shown
    // from, for what only the table tells, such as bold cells).
    bool RowShows(int r, const TableRow &row, const TableRow *previous) const;
    // Gives grid row `r` the texts, data and colours of `row`.
    void WriteRow(int r, const TableRow &row);

    // The order the user chose with header clicks: the column, and whether
    // the last click reversed it.
    struct UserSort {
        int column = 0;
        bool reversed = false;
    };

    bool sortable_ = false;
    bool showsTable_ = false;
    std::optional<UserSort> userSort_;
    StatTable shown_;
    std::set<int> userSized_;         // columns whose width the user dragged or fitted
    std::map<int, int> fittedWidths_; // column -> the width the last fit gave it
    std::optional<QFont> boldFont_;
    // Follows the table's font at each use.
    mutable TextWrapper wrapper_;
};
