#pragma once

#include "platform/Colors.h"

#include <QByteArray>
#include <QString>
#include <string_view>

// Pieces of compact JSON written as QJsonDocument::toJson(Compact) writes
// them, for the texts the live service makes on every reload without an
// object tree in between.

// `text` as a JSON string; texts of plain printable ASCII, nearly all of
// them, are copied as they are.
void AppendJsonString(QByteArray &out, const QString &text);
// The same for a UTF-8 text (an invalid sequence becomes U+FFFD, as in QString).
void AppendJsonString(QByteArray &out, std::string_view utf8);
// `color` as "#rrggbb".
void AppendJsonColor(QByteArray &out, COLORREF color);
// True when `text` is printable ASCII without a quote or backslash: written
// as it is, and ordered by its bytes as Qt orders object member names.
bool IsPlainJsonText(std::string_view text);
