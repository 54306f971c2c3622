#include "StatTableJson.h"

#include "CompactJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

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

const char *alignName(TableAlignment alignment)
{
    switch (alignment) {
    case TableAlignment::Right:
        return "right";
    case TableAlignment::Center:
        return "center";
    default:
        return "left";
    }
}

} // namespace

QByteArray StatTableToCompactJson(const StatTable &table)
{
    // Members in the order of their names, as QJsonObject keeps them.
    QByteArray out;
    out.reserve(256 + 160 * static_cast<qsizetype>(table.RowCount()) * table.ColumnCount());
    out += "{\"columns\":[";
    for (int index = 0; index < table.ColumnCount(); ++index) {
        const TableColumn &column = table.columns[static_cast<std::size_t>(index)];
        if (index > 0)
            out += ',';
        out += "{\"align\":\"";
        out += alignName(column.alignment);
        out += "\",\"drawn_width\":";
        out += QByteArray::number(table.DrawnWidth(index));
        out += ",\"header\":";
        AppendJsonString(out, column.caption);
        out += ",\"width\":";
        out += QByteArray::number(column.width);
        out += '}';
    }
    out += "],\"rows\":[";
    for (int row = 0; row < table.RowCount(); ++row) {
        const TableRow &values = table.rows[static_cast<std::size_t>(row)];
        out += row > 0 ? ",{\"cells\":[" : "{\"cells\":[";
        for (int column = 0; column < table.ColumnCount(); ++column) {
            const TableCell &cell = values.Cell(column);
            out += column > 0 ? ",{\"background\":" : "{\"background\":";
            AppendJsonColor(out, table.BackgroundAt(row, column));
            out += cell.bold ? ",\"bold\":true,\"color\":" : ",\"bold\":false,\"color\":";
            AppendJsonColor(out, table.TextColorAt(row, column));
            if (cell.cut)
                out += ",\"cut\":true";
            out += ",\"text\":";
            AppendJsonString(out, cell.text);
            out += '}';
        }
        out += "],\"data\":";
        out += QByteArray::number(static_cast<qint64>(values.itemData));
        out += '}';
    }
    out += "]}";
    return out;
}

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
