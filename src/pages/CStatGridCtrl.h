#pragma once

#include "gridctrl/CZrGridListCtrl.h"
#include "views/TextWrapper.h"

#include <QFont>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

class CSeasonStats;
class CTeamStats;
struct StatTable;

// How the cells of a column compare when the table is sorted by it.
enum StatSortKind {
    kSortText = 0,    // byte order, A to Z on the first sort
    kSortInteger = 1, // leading integer, largest first on the first sort
    kSortReal = 2,    // leading real number, largest first on the first sort
};

// Background of a game value that beats the player's season average.
constexpr COLORREF kSeasonMarkColor = RGB(192, 255, 192);
// Text colour of the leaders of a column.
constexpr COLORREF kLeaderColor = RGB(255, 0, 0);

// The table every statistics page is built from: columns that know how they
// sort and whether their leaders are marked, sorting by a header click, the
// season mark, the leader mark, bold cells for texts that start with "&", and
// the breaking of long texts into lines. Each kind of table declares its
// columns in SetupColumns and fills its rows itself.
//
// The parent receives UM_GRIDLAYOUT (posted) after a column was resized.
class CStatGridCtrl : public CZrGridListCtrl
{
    Q_OBJECT

public:
    explicit CStatGridCtrl(QWidget *parent = nullptr, int id = 0);
    ~CStatGridCtrl() override;

    // Appends a column with its sort kind and leader flag; returns its index.
    int AddColumn(int index, const QString &header, int alignment, int width, int sortKind,
                  bool leaders);
    // Creates the columns; called once, right after construction.
    virtual void SetupColumns();
    // Fills the rows from one game team and its season team; the base does nothing.
    virtual void FillTeam(const CTeamStats &team, const CSeasonStats &season);

    // Sorts the rows by a column: text A to Z, numbers largest first; the
    // same column again reverses, a third time sorts as the first.
    void SortByColumn(int column);
    // Makes the next sort of any column a first sort again.
    void ResetSortOrder() { lastSortedColumn_ = -1; }
    int LastSortedColumn() const { return lastSortedColumn_; }
    // Whether a header click sorts the table.
    bool IsSortable() const { return sortable_; }
    void SetSortable(bool sortable) { sortable_ = sortable; }
    int GetColumnSortKind(int column) const;
    bool IsLeaderColumn(int column) const;

    // Writes a player's value (cut to one decimal) into a cell and marks it
    // light green when it beats his season average.
    void SetStatCell(int row, int column, const CTeamStats &team, const CSeasonStats &season,
                     int player, std::string_view label);
    // Draws the largest values of every leader column in red; ties all.
    void MarkColumnLeaders();
    // Colours every cell of one row, or of `count` rows from `first`.
    void SetRowColors(int row, COLORREF text, COLORREF background);
    void SetRowRangeColors(int first, int count, COLORREF text, COLORREF background);

    // Breaks a text into lines no wider than `maxWidth` pixels in the table's
    // font (TextWrapper::Wrap).
    QStringList WrapText(const QString &text, int maxWidth) const;
    // The wrapper of texts in the table's current font.
    const TextWrapper &Wrapper() const;

    // Replaces the rows with those of `table`: texts, bold cells, colours and
    // item data. The columns stay as they are.
    void ShowRows(const StatTable &table);

    // The text a cell shows: without the leading "&" that makes it bold.
    static QString ShownText(const QString &cellText);
    // Whether the cell text is drawn in bold.
    static bool IsBoldText(const QString &cellText);

protected:
    void OnColumnClick(int column) override;
    void DrawCellText(int row, int column, CRect rect, bool selected, QPainter &dc) override;
    void changeEvent(QEvent *event) override;

private:
    const QFont &BoldFont();
    void PostLayoutToParent();

    bool sortable_ = false;
    int lastSortedColumn_ = -1;
    std::vector<int> sortKinds_;
    std::vector<bool> leaders_;
    std::optional<QFont> boldFont_;
    // Follows the table's font at each use.
    mutable TextWrapper wrapper_;
};
