#include "player/PlayerJson.h"

#include "pages/CPageContainerWnd.h"
#include "player/PlayerLayout.h"
#include "views/PlayerContent.h"
#include "wire/TableWire.h"

#include <QJsonArray>
#include <set>

namespace
{

constexpr int kTypeColumn = 3;

QJsonObject placed(const QRect &at)
{
    return QJsonObject{{"x", at.x()}, {"y", at.y()}, {"w", at.width()}, {"h", at.height()}};
}

} // namespace

void WritePlayer(JsonWriter &writer, const PlayerContent &content, const PlayerLayout &layout,
                 const StatTable &plays)
{
    // Tables and titles stand in the panel's client area, inside its edge.
    const QPoint origin = CPageContainerWnd::ClientOrigin();
    QJsonObject panel = placed(layout.panel);
    panel["content_height"] = layout.contentHeight;
    panel["scrolls"] = layout.scrolls;
    // The type cell of each play whose yards were worked out says so.
    std::set<int> derivedRows;
    const std::vector<int> firstRows = content.PlayFirstRows();
    for (std::size_t play = 0; play < content.plays.size(); ++play) {
        if (content.plays[play].yardsDerived)
            derivedRows.insert(firstRows[play]);
    }
    writer.Object({
        {"categories",
         [&](JsonWriter &out) {
             out.BeginArray();
             for (const PlayerLayout::PlacedCategory &category : layout.categories) {
                 QJsonObject extra = placed(category.table.translated(origin));
                 const QRect title = category.title.translated(origin);
                 extra["title"] = QString::fromLatin1(PlayerCategories()[category.category].title);
                 extra["title_rect"] =
                     QJsonArray{title.x(), title.y(), title.width(), title.height()};
                 TableWire::Write(out, content.CategoryTable(category.category), extra);
             }
             out.EndArray();
         }},
        {"heading", [](JsonWriter &out) { out.String(PlayerContent::Heading()); }},
        {"panel", [&panel](JsonWriter &out) { out.Value(panel); }},
        {"plays",
         [&](JsonWriter &out) {
             TableWire::Write(out, plays, placed(layout.plays),
                              [&derivedRows](int row, int column) {
                                  return column == kTypeColumn && derivedRows.contains(row);
                              });
         }},
        {"plays_label", [&content](JsonWriter &out) { out.String(content.playsLabel); }},
        {"title", [&content](JsonWriter &out) { out.String(content.title); }},
    });
}

QByteArray PlayerJson(const PlayerContent &content, const PlayerLayout &layout,
                      const StatTable &plays)
{
    return JsonWriter::Compact(
        [&](JsonWriter &writer) { WritePlayer(writer, content, layout, plays); });
}
