#pragma once

#include "service/GameDocument.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <nlohmann/json.hpp>

// What a test reads from the service over HTTP.
struct HttpAnswer {
    int status = 0;
    QByteArray body;
    QJsonObject json() const;
};

// Sends `method` `path` (with its query) to 127.0.0.1:`port` with Qt's own
// HTTP client and waits for the answer.
HttpAnswer Request(quint16 port, const QString &path, const QByteArray &method = "GET",
                   const QList<QPair<QByteArray, QByteArray>> &headers = {});

// `state` (a document as /api/game serves it) moved on by the change
// message `change`: its "patch" applied by nlohmann's JSON Patch, an applier not
// ours, and its "seq" and "updated" taken. A change made from another state
// than the one held fails the test.
nlohmann::json Patched(nlohmann::json state, const nlohmann::json &change);

// A small document: the members the pages and the glance read, and three
// tables of "pages", one of them nested.
GameDocument SampleDocument(int seq, int homeScore);

// The game the samples hold, as the service hands it out.
GameDocument SampleGameDocument(int seq);
