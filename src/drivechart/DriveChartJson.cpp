#include "drivechart/DriveChartJson.h"

#include "drivechart/CDriveChartWnd.h"

#include <QJsonArray>

QJsonObject DriveChartViewToJson(const DriveChartGeometry &geometry, int selected, int hover,
                                 const QString &readout)
{
    QJsonArray items;
    for (int k = 0; k < geometry.itemCount(); ++k) {
        const CRect r = geometry.HitRect(k);
        QJsonValue arrow = QJsonValue::Null;
        if (const auto points = geometry.ArrowPoints(k)) {
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
    const QSize client = geometry.client();
    return QJsonObject{
        {"client", QJsonArray{client.width(), client.height()}},
        {"pixels_per_yard", geometry.pixelsPerYard()},
        {"left_margin", geometry.leftMargin()},
        {"row_area", geometry.rowArea()},
        {"scrolling", geometry.scrolling()},
        {"first_row", geometry.firstRow()},
        {"visible_rows", geometry.visibleRows()},
        {"selected", selected},
        {"hover", hover},
        {"readout", readout},
        {"items", items},
    };
}

QJsonObject DriveChartViewToJson(CDriveChartWnd &view)
{
    view.UpdateGeometry();
    return DriveChartViewToJson(view.Geometry(), view.selected(), view.hover(), view.readout());
}
