#pragma once

#include "platform/Colors.h"

#include <QString>
#include <optional>
#include <utility>

// One cell of a table as it is drawn: the text, bold or not, and its colours
// (unset: the row's, else the table's). Cells of integer and real columns
// sort by `number`; text columns sort by the text. `cut` tells that the
// text is drawn shortened, as its column is too narrow (FitColumns).
struct TableCell {
    QString text;
    bool bold = false;
    std::optional<COLORREF> textColor;
    std::optional<COLORREF> background;
    double number = 0;
    bool cut = false;

    // A cell showing `text`, sorting by it in a text column.
    static TableCell Text(QString text)
    {
        TableCell cell;
        cell.text = std::move(text);
        return cell;
    }

    // A cell showing `text` that sorts by `number`.
    static TableCell Number(QString text, double number)
    {
        TableCell cell;
        cell.text = std::move(text);
        cell.number = number;
        return cell;
    }

    bool operator==(const TableCell &) const = default;
};
