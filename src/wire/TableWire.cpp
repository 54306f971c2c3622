#include "TableWire.h"

#include <map>

namespace
{

std::string_view alignName(TableAlignment alignment)
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

void writeColumns(JsonWriter &writer, const StatTable &table)
{
    writer.BeginArray();
    for (int index = 0; index < table.ColumnCount(); ++index) {
        const TableColumn &column = table.columns[static_cast<std::size_t>(index)];
        writer.BeginObject();
        writer.Key("align");
        writer.String(alignName(column.alignment));
        writer.Key("drawn_width");
        writer.Int(table.DrawnWidth(index));
        writer.Key("header");
        writer.String(column.caption);
        writer.Key("width");
        writer.Int(column.width);
        writer.EndObject();
    }
    writer.EndArray();
}

void writeRow(JsonWriter &writer, const StatTable &table, int row,
              const TableWire::DerivedCells &derived)
{
    const TableRow &values = table.rows[static_cast<std::size_t>(row)];
    writer.BeginObject();
    writer.Key("cells");
    writer.BeginArray();
    for (int column = 0; column < table.ColumnCount(); ++column) {
        const TableCell &cell = values.Cell(column);
        writer.BeginObject();
        writer.Key("background");
        writer.Color(table.BackgroundAt(row, column));
        writer.Key("bold");
        writer.Bool(cell.bold);
        writer.Key("color");
        writer.Color(table.TextColorAt(row, column));
        if (cell.cut) {
            writer.Key("cut");
            writer.Bool(true);
        }
        writer.Key("text");
        writer.String(cell.text);
        if (derived && derived(row, column)) {
            writer.Key("yards_derived");
            writer.Bool(true);
        }
        writer.EndObject();
    }
    writer.EndArray();
    writer.Key("data");
    writer.Int(static_cast<qint64>(values.itemData));
    writer.EndObject();
}

void writeRows(JsonWriter &writer, const StatTable &table, const TableWire::DerivedCells &derived)
{
    writer.BeginArray();
    for (int row = 0; row < table.RowCount(); ++row)
        writeRow(writer, table, row, derived);
    writer.EndArray();
}

} // namespace

void TableWire::Write(JsonWriter &writer, const StatTable &table)
{
    writer.Reserve(256 + 160 * static_cast<std::size_t>(table.RowCount() * table.ColumnCount()));
    writer.BeginObject();
    writer.Key("columns");
    writeColumns(writer, table);
    writer.Key("rows");
    writeRows(writer, table, {});
    writer.EndObject();
}

void TableWire::Write(JsonWriter &writer, const StatTable &table, const QJsonObject &extra,
                      const DerivedCells &derived)
{
    JsonWriter::Members members = JsonWriter::MembersOf(extra);
    members["columns"] = [&table](JsonWriter &out) { writeColumns(out, table); };
    members["rows"] = [&table, &derived](JsonWriter &out) { writeRows(out, table, derived); };
    writer.Object(members);
}

void TableWire::WritePages(JsonWriter &writer, const TableSource &source)
{
    // Members in the order of their names, as a QJsonObject keeps them.
    std::map<std::string_view, const TablePageInfo *> pages;
    for (const TablePageInfo &page : kTablePages)
        pages.emplace(page.key, &page);
    writer.BeginObject();
    for (const auto &[key, page] : pages) {
        writer.Key(key);
        if (page->tables.empty()) {
            Write(writer, source({page->page, -1, nullptr}));
            continue;
        }
        std::map<std::string_view, const NamedStatTable *> tables;
        for (const NamedStatTable &table : page->tables)
            tables.emplace(table.name, &table);
        writer.BeginObject();
        for (int side = 0; side < 2; ++side) {
            writer.Key(side == 0 ? "home" : "visitor");
            writer.BeginObject();
            for (const auto &[name, table] : tables) {
                writer.Key(name);
                Write(writer, source({page->page, side, table}));
            }
            writer.EndObject();
        }
        writer.EndObject();
    }
    writer.EndObject();
}

void TableWire::WriteColumns(JsonWriter &writer, const StatTable &table)
{
    writeColumns(writer, table);
}

void TableWire::WriteRow(JsonWriter &writer, const StatTable &table, int row)
{
    writeRow(writer, table, row, {});
}

TableText TableWire::Joined(QByteArrayView columns, std::span<const QByteArray> rows)
{
    // Laid out as Write lays out the compact text.
    static constexpr QByteArrayView kColumns = R"({"columns":)";
    static constexpr QByteArrayView kRows = R"(,"rows":[)";
    qsizetype size = kColumns.size() + columns.size() + kRows.size() + 2;
    for (const QByteArray &row : rows)
        size += row.size() + 1;
    TableText text;
    text.json.reserve(size);
    text.json += kColumns;
    text.columns = {text.json.size(), columns.size()};
    text.json += columns;
    text.json += kRows;
    text.rows.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            text.json += ',';
        text.rows.emplace_back(text.json.size(), rows[i].size());
        text.json += rows[i];
    }
    text.json += "]}";
    return text;
}
