#pragma once

#include <QCheckBox>

// Sets a check box's text as close to its box as the classic dialog check box
// draws it (2 pixels), so that its caption fits the width the dialog gives it.
inline void UseClassicCheckBoxSpacing(QCheckBox &checkBox)
{
    checkBox.setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
}
