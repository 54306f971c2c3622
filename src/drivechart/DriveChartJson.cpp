#include "drivechart/DriveChartJson.h"

#include "drivechart/CDriveChartWnd.h"
#include "gamedata/CDriveChartData.h"

#include <QJsonArray>

QJsonObject DriveChartViewToJson(CDriveChartWnd &view)
{
    view.UpdateGeometry();
    view.LayoutRows();

    QJsonArray items;
    if (const CDriveChartData *data = view.Data()) {
        for (int k = 0; k < data->count(); ++k) {
            const CRect &r = data->item(k).hitRect;
            QJsonValue arrow = QJsonValue::Null;
            if (const auto points = view.ArrowPoints(k)) {
                QJsonArray pairs;
                for (const QPoint &p : *points)
                    pairs.append(QJsonArray{p.x(), p.y()});
                arrow = pairs;
            }
            items.append(QJsonObject{
                {"hit_rect", QJsonArray{r.left, r.top, r.right, r.bottom}},
                {"arrow", arrow},
            });
        }
    }
    const QSize client = view.viewport()->size();
    return QJsonObject{
        {"client", QJsonArray{client.width(), client.height()}},
        {"pixels_per_yard", view.pixelsPerYard()},
        {"left_margin", view.leftMargin()},
        {"row_area", view.rowArea()},
        {"scrolling", view.scrolling()},
        {"first_row", view.firstRow()},
        {"visible_rows", view.visibleRows()},
        {"selected", view.selected()},
        {"hover", view.hover()},
        {"readout", view.readout()},
        {"items", items},
    };
}
