#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QEvent;
class QKeyEvent;
class QWidget;
class CZrGridListCtrl;

// Reports the end of an in-place edit to the grid: an end-of-label-edit
// notification naming the editor, the cell, the text (none when cancelled)
// and the editor's value. Nothing happens when the grid is gone.
void SendEndLabelEdit(QWidget *editor, CZrGridListCtrl *grid, int row, int column,
                      std::optional<QString> text, std::intptr_t param);

// Gives the keyboard focus back to the grid, which ends the edit.
void ReturnFocusToGrid(CZrGridListCtrl *grid);

// True for a key press or shortcut check of a key that ends an edit: Enter,
// Return or Escape.
bool IsEndingKey(const QEvent *event);

// Ends the edit on Enter, Return or Escape (Escape cancels it): gives the
// focus back to the grid and returns true. Other keys return false.
bool EndEditOnKey(QKeyEvent *event, CZrGridListCtrl *grid, bool &cancelled);
