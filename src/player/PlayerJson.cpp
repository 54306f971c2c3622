#include "player/PlayerJson.h"

#include "pages/CPageContainerWnd.h"
#include "pages/CStatGridCtrl.h"
#include "pages/TableJson.h"
#include "player/CPlayerDlg.h"

#include <QJsonArray>
#include <QLabel>

namespace
{

// The table in the export's form, with where it stands.
QJsonObject placedTable(const CStatGridCtrl &table)
{
    QJsonObject json = TableToJson(table);
    const QRect at = table.geometry();
    json["x"] = at.x();
    json["y"] = at.y();
    json["w"] = at.width();
    json["h"] = at.height();
    return json;
}

} // namespace

QJsonObject PlayerDlgToJson(const CPlayerDlg &dialog)
{
    const CPageContainerWnd *panel = dialog.Container();
    const QRect panelRect = panel->geometry();
    QJsonArray categories;
    int slot = 0;
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        if (!dialog.IsCategoryShown(c))
            continue;
        QJsonObject json = placedTable(*dialog.CategoryGrid(c));
        const QRect title = dialog.CategoryTitle(slot++)->geometry();
        json["title"] = QString::fromLatin1(PlayerCategories()[c].title);
        json["title_rect"] = QJsonArray{title.x(), title.y(), title.width(), title.height()};
        categories.append(json);
    }
    return QJsonObject{
        {"title", dialog.TitleStatic()->text()},
        {"heading", dialog.HeadingStatic()->text()},
        {"plays_label", dialog.PlaysLabel()->text()},
        {"panel", QJsonObject{{"x", panelRect.x()},
                              {"y", panelRect.y()},
                              {"w", panelRect.width()},
                              {"h", panelRect.height()},
                              {"content_height", dialog.ContentHeight()},
                              {"scrolls", panel->ContentSize().height() > 0}}},
        {"categories", categories},
        {"plays", placedTable(*dialog.PlaysGrid())},
    };
}
