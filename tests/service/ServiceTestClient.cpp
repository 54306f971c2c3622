#include "ServiceTestClient.h"

#include "service/GameDocumentFromSession.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <gtest/gtest.h>

QJsonObject HttpAnswer::json() const
{
    return QJsonDocument::fromJson(body).object();
}

HttpAnswer Request(quint16 port, const QString &path, const QByteArray &method,
                   const QList<QPair<QByteArray, QByteArray>> &headers)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1%2").arg(port).arg(path)));
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    std::unique_ptr<QNetworkReply> reply(manager.sendCustomRequest(request, method));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    HttpAnswer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.body = reply->readAll();
    return answer;
}

nlohmann::json Patched(nlohmann::json state, const nlohmann::json &change)
{
    EXPECT_EQ(change["from"], state["seq"]) << "a change made from another state";
    state.erase("seq");
    state.erase("updated");
    state.patch_inplace(change["patch"]);
    state["seq"] = change["seq"];
    state["updated"] = change["updated"];
    return state;
}

GameDocument SampleDocument(int seq, int homeScore)
{
    GameDocument document;
    document.seq = seq;
    document.updated = QString("2026-10-17T13:%1:00.000Z").arg(seq % 60, 2, 10, QChar('0'));
    document.gameId = "10/17/2026 AMW at KBM";
    document.members["scoreboard"] =
        QString(R"({"home_score":%1,"visitor_score":14,"minutes":8,"seconds":5,"final":false})")
            .arg(homeScore)
            .toUtf8();
    document.members["situation"] =
        R"({"period_label":"3rd","down_distance":"2nd & 11","possession":"home",)"
        R"("timeouts_left":{"home":2,"visitor":3}})";
    document.members["teams"] = R"([{"values":{"Short Name":"KBM"}},)"
                                R"({"values":{"Short Name":"AMW"}}])";
    document.pages["team_stats"] = R"({"columns":[],"rows":[]})";
    document.pages["offense/home/passing"] = R"({"columns":[{"header":"KBM"}],"rows":[]})";
    document.pages["offense/visitor/passing"] = R"({"columns":[{"header":"AMW"}],"rows":[]})";
    return document;
}

GameDocument SampleGameDocument(int seq)
{
    GameDocument document;
    QString error;
    EXPECT_TRUE(GameDocumentFromSession().Load({PYLONIX_SAMPLES_DIR "/game-live.xml", {}, {}}, seq,
                                               QDateTime::currentDateTimeUtc(), document, error))
        << error.toStdString();
    return document;
}
