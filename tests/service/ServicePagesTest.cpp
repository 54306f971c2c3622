#include "ServiceTestClient.h"

#include "service/GameService.h"

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
    const GameDocument document = SampleGameDocument(1);
    service.Publish(document);
    const QString address = QString("http://127.0.0.1:%1").arg(service.Port());

    const QJsonObject board = QJsonDocument::fromJson(document.members.at("scoreboard")).object();
    const QJsonObject situation =
        QJsonDocument::fromJson(document.members.at("situation")).object();
    const QString bug = renderedPage(chromium, address + "/scorebug?token=booth");
    EXPECT_EQ(elementText(bug, "home-score"), QString::number(board["home_score"].toInt()));
    EXPECT_EQ(elementText(bug, "visitor-score"), QString::number(board["visitor_score"].toInt()));
    EXPECT_EQ(elementText(bug, "period"), situation["period_label"].toString());
    EXPECT_EQ(elementText(bug, "down").replace("&amp;", "&"),
              situation["down_distance"].toString());
    EXPECT_EQ(elementText(bug, "clock"), QString("%1:%2")
                                             .arg(board["minutes"].toInt())
                                             .arg(board["seconds"].toInt(), 2, 10, QChar('0')));
    EXPECT_EQ(elementText(bug, "home-name"), "KBM");
    EXPECT_EQ(elementText(bug, "visitor-name"), "AMW");
    EXPECT_FALSE(elementText(bug, situation["possession"].toString() + "-ball").isEmpty());

    const QString page = renderedPage(chromium, address + "/?token=booth");
    EXPECT_EQ(elementText(page, "home-name"), "Kestrel Bay Mariners");
    EXPECT_EQ(elementText(page, "status"), "live");
    EXPECT_TRUE(page.contains("Kendrick Redding"));                   // a home passing leader
    EXPECT_TRUE(page.contains("Start of 1st quarter, clock 15:00.")); // the play-by-play
}
