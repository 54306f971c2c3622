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
    const bool finished =
        QTest::qWaitFor([&] { return browser.state() == QProcess::NotRunning; }, 60000);
    if (!finished) {
        browser.kill();
        browser.waitForFinished();
    }
    EXPECT_TRUE(finished) << "chromium did not finish";
    return QString::fromUtf8(browser.readAllStandardOutput());
}

QString elementText(const QString &dom, const QString &id)
{
    const qsizetype at = dom.indexOf("id=\"" + id + "\"");
    if (at < 0)
        return "(no element " + id + ")";
    const qsizetype start = dom.indexOf('>', at) + 1;
    return dom.mid(start, dom.indexOf('<', start) - start);
}

} // namespace

TEST(ServicePages, TheScoreBugShowsTheScoreAndSituationServed)
{
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup-common.sh installs it)";
    GameService service;
    QString error;
    ASSERT_TRUE(service.Listen(ServeSettings{}, error)) << error.toStdString();
    const GameDocument document = SampleGameDocument(1);
    service.Publish(document);

    const QJsonObject scoreboard =
        QJsonDocument::fromJson(document.members.at("scoreboard")).object();
    const QJsonObject situation =
        QJsonDocument::fromJson(document.members.at("situation")).object();
    const QString dom =
        renderedPage(chromium, QString("http://127.0.0.1:%1/scorebug").arg(service.Port()));
    EXPECT_EQ(elementText(dom, "home-score"), QString::number(scoreboard["home_score"].toInt()));
    EXPECT_EQ(elementText(dom, "visitor-score"),
              QString::number(scoreboard["visitor_score"].toInt()));
    EXPECT_EQ(elementText(dom, "period"), situation["period_label"].toString());
    EXPECT_EQ(elementText(dom, "down").replace("&amp;", "&"),
              situation["down_distance"].toString());
    EXPECT_EQ(elementText(dom, "clock"),
              QString("%1:%2")
                  .arg(scoreboard["minutes"].toInt())
                  .arg(scoreboard["seconds"].toInt(), 2, 10, QChar('0')));
    EXPECT_EQ(elementText(dom, "home-name"), "KBM");
    EXPECT_EQ(elementText(dom, "visitor-name"), "AMW");
    const QString possessing = situation["possession"].toString();
    ASSERT_FALSE(possessing.isEmpty());
    EXPECT_FALSE(elementText(dom, possessing + "-ball").isEmpty());
    EXPECT_TRUE(dom.contains("id=\"bug\" class=\"\"")) << "still waiting for the game";
}

TEST(ServicePages, TheStatisticsPageShowsTheGame)
{
    const QString chromium = QStandardPaths::findExecutable("chromium");
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup-common.sh installs it)";
    GameService service;
    QString error;
    ServeSettings settings;
    settings.token = "booth";
    ASSERT_TRUE(service.Listen(settings, error)) << error.toStdString();
    service.Publish(SampleGameDocument(1));

    const QString dom =
        renderedPage(chromium, QString("http://127.0.0.1:%1/?token=booth").arg(service.Port()));
    EXPECT_EQ(elementText(dom, "home-name"), "Kestrel Bay Mariners");
    EXPECT_EQ(elementText(dom, "status"), "live");
    EXPECT_TRUE(dom.contains("Kendrick Redding")); // a leader of the home passing table
    EXPECT_TRUE(dom.contains("Start of 1st quarter, clock 15:00.")); // the play-by-play
}
