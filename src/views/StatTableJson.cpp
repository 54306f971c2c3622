#include "StatTableJson.h"

#include <QJsonArray>

namespace
{

QString colorText(COLORREF color)
{
    return QString::asprintf("#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
}

QString alignText(TableAlignment alignment)
{
    switch (alignment) {
    case TableAlignment::Right:
        return QStringLiteral("right");
    case TableAlignment::Center:
        return QStringLiteral("center");
    default:
        return QStringLiteral("left");
    }
}

QJsonArray columnsArray(const StatTable &table)
{
    QJsonArray columns;
    for (int index = 0; index < table.ColumnCount(); ++index) {
        const TableColumn &column = table.columns[static_cast<std::size_t>(index)];
        columns.append(QJsonObject{{"header", column.caption},
                                   {"width", column.width},
                                   {"drawn_width", table.DrawnWidth(index)},
                                   {"align", alignText(column.alignment)}});
    }
    return columns;
}

QJsonObject rowObject(const StatTable &table, int row)
{
    const TableRow &values = table.rows[static_cast<std::size_t>(row)];
    QJsonArray cells;
    for (int column = 0; column < table.ColumnCount(); ++column) {
        const TableCell &cell = values.Cell(column);
        QJsonObject object{{"text", cell.text},
                           {"bold", cell.bold},
                           {"color", colorText(table.TextColorAt(row, column))},
                           {"background", colorText(table.BackgroundAt(row, column))}};
        if (cell.cut)
            object.insert(QStringLiteral("cut"), true);
        cells.append(object);
    }
    return QJsonObject{{"data", static_cast<qint64>(values.itemData)}, {"cells", cells}};
}

} // namespace

QJsonObject StatTableToJson(const StatTable &table)
{
    QJsonArray rows;
    for (int row = 0; row < table.RowCount(); ++row)
        rows.append(rowObject(table, row));
    return QJsonObject{{"columns", columnsArray(table)}, {"rows", rows}};
}

bool WriteStatTableJson(const StatTable &table, int depth, const JsonStreamWriter &writer)
{
    return writer.Object(
        {{"columns",
          [&](int columnsDepth) { return writer.Value(columnsArray(table), columnsDepth); }},
         {"rows",
          [&](int rowsDepth) {
              return writer.Array(table.RowCount(), rowsDepth, [&](int row, int rowDepth) {
                  return writer.Value(rowObject(table, row), rowDepth);
              });
          }}},
        depth);
}
