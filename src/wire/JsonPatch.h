#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <span>

// The RFC 6902 JSON Patch that turns one JSON text into another, so that a
// live client holding the game gets what one play changed in it (a row of a
// table, a player's line) rather than the game again. Both texts come from
// one writer, so equal values are equal bytes and a change is found by
// comparing bytes. Arrays are compared item by item along the shortest edit
// (a row that moved is a "move"), objects member by member, and a value whose
// operations would be no shorter than itself is replaced whole.
namespace JsonPatch
{

// The patch from `before` to `after` as a compact JSON array text: "[]" when
// they are equal, one "replace" of the root when they cannot be walked (a
// text that is not JSON, or values of other kinds).
QByteArray Between(QByteArrayView before, QByteArrayView after);

// The operations from `before` to `after` at `path` (a JSON Pointer, its
// steps escaped), comma-separated without the array's brackets: a document
// kept in parts is patched by the operations of its parts joined by commas.
QByteArray Operations(QByteArrayView before, QByteArrayView after, const QByteArray &path);

// Operations between two arrays given as their items (compact JSON texts),
// as Operations finds them between the arrays' texts: a long table kept row
// by row is compared without reading its text again.
QByteArray ArrayOperations(std::span<const QByteArrayView> before,
                           std::span<const QByteArrayView> after, const QByteArray &path);

// A member name (a JSON string literal, quotes included) as a JSON Pointer
// step, ready to be written inside a JSON string: "~" as "~0", "/" as "~1".
QByteArray PointerStep(QByteArrayView name);

} // namespace JsonPatch
