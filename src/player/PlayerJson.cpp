#include "player/PlayerJson.h"

#include "pages/CPageContainerWnd.h"
#include "player/PlayerLayout.h"
#include "views/PlayerContent.h"
#include "views/StatTableJson.h"

#include <QJsonArray>

namespace
{

constexpr int kTypeColumn = 3;

// A table in the export's form, with where it stands.
QJsonObject placedTable(const StatTable &table, const QRect &at)
{
    QJsonObject json = StatTableToJson(table);
    json["x"] = at.x();
    json["y"] = at.y();
    json["w"] = at.width();
    json["h"] = at.height();
    return json;
}

// The plays list; the type cell of each play whose yards were worked out
// says so beside them.
QJsonObject playsObject(const PlayerContent &content, const StatTable &plays, const QRect &at)
{
    QJsonObject json = placedTable(plays, at);
    QJsonArray rows = json["rows"].toArray();
    const std::vector<int> firstRows = content.PlayFirstRows();
    for (std::size_t play = 0; play < content.plays.size(); ++play) {
        if (!content.plays[play].yardsDerived)
            continue;
        QJsonObject row = rows[firstRows[play]].toObject();
        QJsonArray cells = row["cells"].toArray();
        QJsonObject cell = cells[kTypeColumn].toObject();
        cell["yards_derived"] = true;
        cells[kTypeColumn] = cell;
        row["cells"] = cells;
        rows[firstRows[play]] = row;
    }
    json["rows"] = rows;
    return json;
}

} // namespace

QJsonObject PlayerToJson(const PlayerContent &content, const PlayerLayout &layout,
                         const StatTable &plays)
{
    // Tables and titles stand in the panel's client area, inside its edge.
    const QPoint origin = CPageContainerWnd::ClientOrigin();
    QJsonArray categories;
    for (const PlayerLayout::PlacedCategory &placed : layout.categories) {
        QJsonObject json =
            placedTable(content.CategoryTable(placed.category), placed.table.translated(origin));
        const QRect title = placed.title.translated(origin);
        json["title"] = QString::fromLatin1(PlayerCategories()[placed.category].title);
        json["title_rect"] = QJsonArray{title.x(), title.y(), title.width(), title.height()};
        categories.append(json);
    }
    const QRect &panel = layout.panel;
    return QJsonObject{
        {"title", content.title},
        {"heading", PlayerContent::Heading()},
        {"plays_label", content.playsLabel},
        {"panel", QJsonObject{{"x", panel.x()},
                              {"y", panel.y()},
                              {"w", panel.width()},
                              {"h", panel.height()},
                              {"content_height", layout.contentHeight},
                              {"scrolls", layout.scrolls}}},
        {"categories", categories},
        {"plays", playsObject(content, plays, layout.plays)},
    };
}
