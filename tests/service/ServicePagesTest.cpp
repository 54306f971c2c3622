#include "DevToolsPage.h"
#include "ServiceTestClient.h"

#include "TestBroker.h"

#include "service/GameService.h"
#include "service/MqttPublisher.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// The page at `url` as headless Chromium leaves it once its scripts ran.
QString renderedPage(const QString &chromium, const QString &url)
{
    QTemporaryDir profile;
    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                             "--no-first-run", "--disable-background-networking",
                             "--disable-component-update", "--disable-sync",
                             "--user-data-dir=" + profile.path(), "--virtual-time-budget=5000",
                             "--dump-dom", url});
    // The service answers the browser from this thread's event loop.
    if (!QTest::qWaitFor([&] { return browser.state() == QProcess::NotRunning; }, 60000)) {
        browser.kill();
        browser.waitForFinished();
        ADD_FAILURE() << "chromium did not finish";
    }
    return QString::fromUtf8(browser.readAllStandardOutput());
}

QString elementText(const QString &dom, const QString &id)
{
    const qsizetype at = dom.indexOf("id=\"" + id + "\"");
    const qsizetype start = dom.indexOf('>', at) + 1;
    return at < 0 ? "(no element " + id + ")" : dom.mid(start, dom.indexOf('<', start) - start);
}

} // namespace

TEST(ServicePages, TheScoreBugAndTheStatisticsPageShowTheGameServed)
{
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup-common.sh installs it)";
    GameService service;
    ServeSettings settings;
    settings.token = "booth"; // the pages pass it on to what they read
    QString error;
    ASSERT_TRUE(service.Listen(settings, error)) << error.toStdString();
    GameDocument document = SampleGameDocument(1);
    // Whatever number of timeouts arrives, the bug draws a mark for each a
    // team can have (a huge number once kept the browser drawing).
    QJsonObject glance = QJsonDocument::fromJson(document.members.at("situation")).object();
    glance["timeouts_left"] = QJsonObject{{"home", 50000000}, {"visitor", 1}};
    document.members["situation"] = QJsonDocument(glance).toJson(QJsonDocument::Compact);
    service.Publish(document);
    const QString address = QString("http://127.0.0.1:%1").arg(service.Port());

    const QJsonObject board = QJsonDocument::fromJson(document.members.at("scoreboard")).object();
    const QJsonObject situation =
        QJsonDocument::fromJson(document.members.at("situation")).object();
    const QString bug = renderedPage(chromium, address + "/scorebug?token=booth");
    EXPECT_EQ(elementText(bug, "home-score"), QString::number(board["home_score"].toInt()));
    EXPECT_EQ(elementText(bug, "visitor-score"), QString::number(board["visitor_score"].toInt()));
    EXPECT_EQ(elementText(bug, "period"), situation["period_label"].toString().toUpper());
    EXPECT_EQ(elementText(bug, "down").replace("&amp;", "&"),
              situation["down_distance"].toString());
    EXPECT_EQ(elementText(bug, "clock"), QString("%1:%2")
                                             .arg(board["minutes"].toInt())
                                             .arg(board["seconds"].toInt(), 2, 10, QChar('0')));
    EXPECT_EQ(elementText(bug, "home-name"), "KBM");
    EXPECT_EQ(elementText(bug, "visitor-name"), "AMW");
    EXPECT_TRUE(
        bug.contains("class=\"ball on\" id=\"" + situation["possession"].toString() + "-ball\""));
    const auto marks = [&bug](const QString &side) {
        const qsizetype at = bug.indexOf("id=\"" + side + "-timeouts\"");
        return bug.mid(at, bug.indexOf("</span>", at) - at);
    };
    EXPECT_EQ(marks("home").count("<i"), 3);
    EXPECT_EQ(marks("home").count("used"), 0);
    EXPECT_EQ(marks("visitor").count("<i"), 3);
    EXPECT_EQ(marks("visitor").count("used"), 2);

    const QString page = renderedPage(chromium, address + "/?token=booth");
    EXPECT_EQ(elementText(page, "home-name"), "Kestrel Bay Mariners");
    EXPECT_EQ(elementText(page, "status"), "live");
    EXPECT_TRUE(page.contains("Kendrick Redding"));                   // a home passing leader
    EXPECT_TRUE(page.contains("Start of 1st quarter, clock 15:00.")); // the play-by-play

    // Open, the page takes the patch of a play added to the play-by-play and
    // of a play's text changed in place.
    DevToolsPage live(chromium, address + "/?token=booth");
    ASSERT_TRUE(live.WaitFor("status", "live"));
    QJsonArray plays = QJsonDocument::fromJson(document.members.at("plays")).array();
    const auto withText = [](QJsonObject play, const QString &text) {
        play["text"] = text;
        return play;
    };
    plays.append(withText(plays.last().toObject(), "A play sent alone"));
    plays[plays.size() - 4] =
        withText(plays[plays.size() - 4].toObject(), "A play changed in place");
    GameDocument next = document;
    next.seq = 2;
    next.members["plays"] = QJsonDocument(plays).toJson(QJsonDocument::Compact);
    ASSERT_FALSE(next.ChangedMessage(document).contains("Start of 1st quarter")); // not the table
    service.Publish(next);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return live.Text("plays").contains("A play sent alone"); }, 20000));
    EXPECT_TRUE(live.Text("plays").contains("A play changed in place"));
    EXPECT_TRUE(live.Text("plays").contains("Start of 1st quarter, clock 15:00."));
}

// Given a broker's WebSocket address, both pages follow the game from the
// broker alone: the service itself has nothing to serve but the pages.
TEST(ServicePages, ThePagesReadTheGameFromTheBroker)
{
    const QString chromium = QStandardPaths::findExecutable("chromium");
    const QString mosquitto = TestBroker::Program();
    if (chromium.isEmpty() || mosquitto.isEmpty())
        GTEST_SKIP() << "chromium or mosquitto is not installed (scripts/setup-common.sh)";
    TestBroker broker(mosquitto, true);
    ASSERT_TRUE(broker.Start());
    const QString prefix = "pylonix/page-test";
    MqttPublisher publisher("127.0.0.1", broker.Port(), prefix);
    QString error;
    ASSERT_TRUE(publisher.Start(error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return publisher.IsConnected(); }, 10000));
    GameDocument document = SampleGameDocument(1);
    publisher.Publish(document);
    // A score of its own, so that the pages can show only what the broker holds.
    QJsonObject board = QJsonDocument::fromJson(document.members.at("scoreboard")).object();
    board["home_score"] = 61;
    document.seq = 2;
    document.members["scoreboard"] = QJsonDocument(board).toJson(QJsonDocument::Compact);
    publisher.Publish(document);

    GameService service; // serves the pages, never a document
    ServeSettings settings;
    ASSERT_TRUE(service.Listen(settings, error)) << error.toStdString();
    const QString query =
        QString("?mqtt=ws://127.0.0.1:%1&topic=%2").arg(broker.WebSocketPort()).arg(prefix);
    const QString address = QString("http://127.0.0.1:%1").arg(service.Port());
    // Retained at the broker before the page subscribes.
    DevToolsPage bug(chromium, address + "/scorebug" + query);
    EXPECT_TRUE(bug.WaitFor("home-score", "61")) << "the score retained at the broker";
    EXPECT_EQ(bug.Text("visitor-score"), QString::number(board["visitor_score"].toInt()));
    EXPECT_EQ(bug.Text("home-name"), "KBM");

    // A publish while the page is open reaches it through PREFIX/changes.
    board["home_score"] = 68;
    document.seq = 3;
    document.members["scoreboard"] = QJsonDocument(board).toJson(QJsonDocument::Compact);
    publisher.Publish(document);
    EXPECT_TRUE(bug.WaitFor("home-score", "68"));

    // The program started again counts from 1 and publishes no change with
    // its first snapshot; its next change is made from a state the page
    // never held, so the page reads the snapshot again.
    MqttPublisher again("127.0.0.1", broker.Port(), prefix);
    ASSERT_TRUE(again.Start(error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return again.IsConnected(); }, 10000));
    board["home_score"] = 70;
    document.seq = 1;
    const QDateTime restarted = QDateTime::currentDateTimeUtc().addSecs(1);
    document.updated = restarted.toString(Qt::ISODateWithMs);
    document.members["scoreboard"] = QJsonDocument(board).toJson(QJsonDocument::Compact);
    again.Publish(document);
    board["visitor_score"] = 3;
    document.seq = 2;
    document.updated = restarted.addSecs(1).toString(Qt::ISODateWithMs);
    document.members["scoreboard"] = QJsonDocument(board).toJson(QJsonDocument::Compact);
    again.Publish(document);
    EXPECT_TRUE(bug.WaitFor("visitor-score", "3"));
    EXPECT_EQ(bug.Text("home-score"), "70");

    DevToolsPage page(chromium, address + "/" + query);
    EXPECT_TRUE(page.WaitFor("home-score", "70"));
    EXPECT_TRUE(page.WaitFor("status", "live"));
    EXPECT_TRUE(page.Text("plays").contains("Start of 1st quarter, clock 15:00."));
}
