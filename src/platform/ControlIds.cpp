#include "platform/ControlIds.h"

#include <QVariant>
#include <QWidget>

namespace
{
constexpr const char *kControlIdProperty = "controlId";
}

void SetDlgCtrlID(QWidget *window, int id)
{
    window->setProperty(kControlIdProperty, id);
}

int GetDlgCtrlID(const QWidget *window)
{
    return window ? window->property(kControlIdProperty).toInt() : 0;
}

QWidget *GetDlgItem(const QWidget *parent, int id)
{
    const auto children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (GetDlgCtrlID(child) == id)
            return child;
    }
    return nullptr;
}
