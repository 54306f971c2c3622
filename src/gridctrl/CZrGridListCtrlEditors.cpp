// The in-place editor factories of the grid.
#include "gridctrl/CZrGridListCtrl.h"

#include "gridctrl/CButtonIPE.h"
#include "gridctrl/CComboBoxIPE.h"
#include "gridctrl/CDateTimeIPE.h"
#include "gridctrl/CEditIPE.h"
#include "gridctrl/CSpinnerIPE.h"
#include "gridctrl/EditorStyles.h"
#include "platform/ControlIds.h"
#include "platform/QtConversions.h"

#include <algorithm>

namespace
{

constexpr int kSpinnerWidth = 17;
constexpr int kButtonWidth = 17;
constexpr int kComboListHeight = 150;

} // namespace

template <typename Editor> Editor *CZrGridListCtrl::PlaceEditor(Editor *editor, const CRect &rect)
{
    editor->setGeometry(ToQRect(rect));
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    return editor;
}

std::optional<CRect> CZrGridListCtrl::EditableCellRect(int row, int column, int width) const
{
    if (!(flags_ & GLF_EDITABLE) || !ValidRow(row) || !ValidColumn(column))
        return std::nullopt;
    CRect rect = GetCellRect(row, column);
    if (width > 0)
        rect.right = rect.left + width;
    return rect;
}

CComboBoxIPE *CZrGridListCtrl::CreateComboEditor(int row, int column, std::uint32_t extraStyle,
                                                 int width)
{
    const std::optional<CRect> cell = EditableCellRect(row, column, width);
    if (!cell)
        return nullptr;
    CRect rect = *cell;
    rect.OffsetRect(-1, -1);
    const bool editable = (extraStyle & CBS_DROPDOWNLIST) == CBS_DROPDOWN;
    auto *combo = new CComboBoxIPE(this, row, column, editable, (extraStyle & WS_HSCROLL) != 0);
    // The box keeps the cell's height; its list gets the extra height.
    combo->setMaxVisibleItems(std::max(1, kComboListHeight / std::max(1, rowHeight_)));
    combo->setEnabled(!(extraStyle & WS_DISABLED));
    combo->setCurrentIndex(-1);
    return PlaceEditor(combo, rect);
}

CEditIPE *CZrGridListCtrl::CreateEditEditor(int row, int column, std::uint32_t extraStyle,
                                            const QString &text, int width)
{
    const std::optional<CRect> cell = EditableCellRect(row, column, width);
    if (!cell)
        return nullptr;
    CRect rect = *cell;
    rect.OffsetRect(-1, -1);
    auto *edit = new CEditIPE(this, row, column);
    edit->setReadOnly(extraStyle & ES_READONLY);
    edit->setEnabled(!(extraStyle & WS_DISABLED));
    edit->setText(text);
    edit->selectAll();
    return PlaceEditor(edit, rect);
}

CEditIPE *CZrGridListCtrl::CreateSpinnerEditor(int row, int column, std::uint32_t extraStyle,
                                               std::int32_t minimum, std::int32_t maximum,
                                               const QString &text, int width)
{
    const std::optional<CRect> cell = EditableCellRect(row, column, width);
    if (!cell)
        return nullptr;
    CRect rect = *cell;
    rect.OffsetRect(-1, -1);
    rect.right -= kSpinnerWidth;
    auto *edit = new CEditIPE(this, row, column);
    edit->setReadOnly(extraStyle & ES_READONLY);
    edit->setEnabled(!(extraStyle & WS_DISABLED));
    auto *spinner = new CSpinnerIPE(viewport(), edit, minimum, maximum);
    edit->SetSpinner(spinner);
    spinner->setGeometry(
        ToQRect(CRect(rect.right, rect.top, rect.right + kSpinnerWidth, rect.bottom)));
    spinner->show();
    edit->setText(text);
    edit->selectAll();
    return PlaceEditor(edit, rect);
}

CButtonIPE *CZrGridListCtrl::CreateButtonEditor(int row, int column, std::uint32_t extraStyle,
                                                const QString &caption, int width, int controlId)
{
    const std::optional<CRect> cell = EditableCellRect(row, column, 0);
    if (!cell)
        return nullptr;
    CRect rect(cell->right - (width > 0 ? width : kButtonWidth), cell->top, cell->right,
               cell->bottom);
    rect.OffsetRect(-2, 1);
    rect.bottom -= 3;
    auto *button = new CButtonIPE(this, row, column, caption);
    SetDlgCtrlID(button, controlId);
    button->setEnabled(!(extraStyle & WS_DISABLED));
    return PlaceEditor(button, rect);
}

CDateTimeIPE *CZrGridListCtrl::CreateDateEditor(int row, int column, std::uint32_t extraStyle,
                                                const QString &format, const QDateTime &dateTime,
                                                int width)
{
    const std::optional<CRect> cell = EditableCellRect(row, column, width);
    if (!cell)
        return nullptr;
    CRect rect = *cell;
    rect.InflateRect(2, 2);
    rect.right -= 1;
    rect.bottom -= 1;
    auto *editor = new CDateTimeIPE(this, row, column);
    editor->setEnabled(!(extraStyle & WS_DISABLED));
    if (!format.isEmpty())
        editor->setDisplayFormat(format);
    if (dateTime.isValid())
        editor->setDateTime(dateTime);
    return PlaceEditor(editor, rect);
}
