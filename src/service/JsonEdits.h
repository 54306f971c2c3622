#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonArray>
#include <QJsonValue>
#include <optional>

// Edits that turn one JSON value into another, so that a live client holding
// a member of the game gets what one play changed in it (a row of a table, a
// player's line) rather than the member again. The edits are a JSON array,
// applied in order:
//   {"path":[STEP...],"set":VALUE}                 put VALUE at the path
//   {"path":[STEP...],"splice":[AT,COUNT,[ITEM...]]} in the array at the path,
//                                                   COUNT items from AT replaced
//                                                   by the ITEMs
// A STEP is a member name or an array index. Splices of one array come from
// its end towards its start, so each AT counts in the array as it was.
namespace JsonEdits
{

// The edits from `before` to `after`, both JSON texts from one writer (equal
// values are equal bytes), as a JSON array text; none when `after` is better
// sent whole: other kinds of value, objects with other member names, or
// edits no shorter than `after`.
std::optional<QByteArray> Between(QByteArrayView before, QByteArrayView after);

// `value` with `edits` applied; a step that leads nowhere leaves it as it is.
QJsonValue Apply(QJsonValue value, const QJsonArray &edits);

} // namespace JsonEdits
