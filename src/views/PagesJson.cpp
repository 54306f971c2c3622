#include "PagesJson.h"

#include "StatColumnSets.h"
#include "StatTableJson.h"

#include <array>
#include <map>
#include <span>

namespace
{

constexpr std::array<std::string_view, 6> kSingleTablePages{"yardage",      "team_stats", "scoring",
                                                            "play_by_play", "drives",     "plays"};

// The pages of player tables, each with its tables in page order.
struct SidedPage {
    std::string_view page;
    std::span<const NamedStatTable> tables;
};

const std::array<SidedPage, 3> kSidedPages{{
    {"offense", StatColumnSets::kOffenseTables},
    {"defense", StatColumnSets::kDefenseTables},
    {"special_teams", StatColumnSets::kSpecialTeamsTables},
}};

QString name(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

const char *sideName(int side)
{
    return side == 0 ? "home" : "visitor";
}

} // namespace

QJsonObject PagesToJson(const PageTableSource &source)
{
    QJsonObject pages;
    for (const std::string_view page : kSingleTablePages)
        pages.insert(name(page), StatTableToJson(source(page, -1, {})));
    for (const SidedPage &sided : kSidedPages) {
        QJsonObject sides;
        for (int side = 0; side < 2; ++side) {
            QJsonObject tables;
            for (const NamedStatTable &table : sided.tables)
                tables.insert(name(table.name),
                              StatTableToJson(source(sided.page, side, table.name)));
            sides.insert(QLatin1String(sideName(side)), tables);
        }
        pages.insert(name(sided.page), sides);
    }
    return pages;
}

void ForEachPageTable(const PageTableSource &source,
                      const std::function<void(const QString &key, const StatTable &table)> &visit)
{
    for (const std::string_view page : kSingleTablePages)
        visit(name(page), source(page, -1, {}));
    for (const SidedPage &sided : kSidedPages) {
        for (int side = 0; side < 2; ++side) {
            const QString prefix = name(sided.page) + '/' + QLatin1String(sideName(side)) + '/';
            for (const NamedStatTable &table : sided.tables)
                visit(prefix + name(table.name), source(sided.page, side, table.name));
        }
    }
}

bool WritePagesJson(const PageTableSource &source, int depth, const JsonStreamWriter &writer,
                    const std::function<void(std::string_view page)> &fill)
{
    using ValueWriter = JsonStreamWriter::ValueWriter;
    auto tableWriter = [&source, &writer](std::string_view page, int side,
                                          std::string_view table) -> ValueWriter {
        return [&source, &writer, page, side, table](int tableDepth) {
            return WriteStatTableJson(source(page, side, table), tableDepth, writer);
        };
    };
    auto pageWriter = [&fill](std::string_view page, ValueWriter tables) -> ValueWriter {
        return [&fill, page, tables = std::move(tables)](int pageDepth) {
            if (fill)
                fill(page);
            return tables(pageDepth);
        };
    };

    std::map<QString, ValueWriter> pages;
    for (const std::string_view page : kSingleTablePages)
        pages[name(page)] = pageWriter(page, tableWriter(page, -1, {}));
    for (const SidedPage &sided : kSidedPages) {
        std::map<QString, ValueWriter> sides;
        for (int side = 0; side < 2; ++side) {
            std::map<QString, ValueWriter> tables;
            for (const NamedStatTable &table : sided.tables)
                tables[name(table.name)] = tableWriter(sided.page, side, table.name);
            sides[QLatin1String(sideName(side))] = [&writer,
                                                    tables = std::move(tables)](int sideDepth) {
                return writer.Object(tables, sideDepth);
            };
        }
        pages[name(sided.page)] =
            pageWriter(sided.page, [&writer, sides = std::move(sides)](int sidesDepth) {
                return writer.Object(sides, sidesDepth);
            });
    }
    return writer.Object(pages, depth);
}
