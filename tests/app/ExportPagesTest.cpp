// The statistics pages in the export: the same tables the window fills, and
// the options that change them.
#include "app/CommandLine.h"
#include "app/GameExport.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"

#include "../support/TableOfGrid.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace
{

const std::string finalGame = PYLONIX_SAMPLES_DIR "/game-final.xml";
const std::string homeSeason = PYLONIX_SAMPLES_DIR "/season-home.xml";
const std::string visitorSeason = PYLONIX_SAMPLES_DIR "/season-visitor.xml";

QJsonObject exportedPages(const ExportRequest &request)
{
    QJsonObject result;
    QString error;
    EXPECT_TRUE(GameExport::Run(request, result, error)) << error.toStdString();
    return result["pages"].toObject();
}

} // namespace

TEST(ExportPages, AgreeWithTheTablesTheWindowFills)
{
    GameSession session;
    ASSERT_TRUE(session.Reload({finalGame, homeSeason, visitorSeason}).gameOpened);
    QWidget dialog;
    dialog.setFont(DialogFont());
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    StatPages pages(&dialog, &container, QFont());
    pages.FillYardage(session);
    pages.FillTeamStats(session, true);
    pages.FillOffense(session);
    pages.FillDefense(session);
    pages.FillSpecialTeams(session);
    pages.FillScoring(session, true);
    pages.FillPlayByPlay(session, 3, true);
    DriveFilter filter;
    filter.quarter = 3;
    filter.homeOnly = true;
    pages.FillDriveLists(CDriveChartData::Load(session.game(), session.teams(), filter), true);

    ExportRequest request;
    request.gameFile = finalGame;
    request.homeSeasonFile = homeSeason;
    request.visitorSeasonFile = visitorSeason;
    request.view.drives = filter;
    const QJsonObject exported = exportedPages(request);
    const QJsonObject built = PagesJsonOf(pages);
    ASSERT_EQ(exported.keys(), built.keys());
    for (const QString &key : built.keys())
        EXPECT_EQ(exported[key], built[key]) << key.toStdString();
    // Not trivially equal: the tables hold the game.
    EXPECT_GT(exported["play_by_play"]["rows"].toArray().size(), 20);
    EXPECT_GT(exported["offense"]["home"]["passing"]["rows"].toArray().size(), 0);
}

TEST(ExportPages, TimeOfPossessionAndPlayColumnWidth)
{
    ExportRequest request;
    request.gameFile = finalGame;
    const QJsonObject shown = exportedPages(request);
    EXPECT_EQ(shown["team_stats"]["rows"].toArray().size(), 22);
    EXPECT_EQ(shown["scoring"]["columns"][5]["width"].toInt(), 40);
    EXPECT_EQ(shown["drives"]["columns"][12]["header"].toString(), "TOP");
    const int defaultRows = shown["play_by_play"]["rows"].toArray().size();
    EXPECT_EQ(shown["play_by_play"]["columns"][2]["width"].toInt(), 300);

    request.view.showTop = false;
    request.view.playColumnWidth = 120;
    const QJsonObject hidden = exportedPages(request);
    EXPECT_EQ(hidden["team_stats"]["rows"].toArray().size(), 21);
    EXPECT_EQ(hidden["scoring"]["columns"][5]["width"].toInt(), 0);
    EXPECT_EQ(hidden["drives"]["columns"][12]["width"].toInt(), 0);
    EXPECT_EQ(hidden["play_by_play"]["columns"][2]["width"].toInt(), 120);
    // A narrower "Play" column wraps the plays into more lines.
    EXPECT_GT(hidden["play_by_play"]["rows"].toArray().size(), defaultRows);
}

TEST(ExportPages, CommandLineOptions)
{
    CommandLine line;
    QString error;
    ASSERT_TRUE(line.Parse(
        {"pylonix", "--export", "json", "--game", "g.xml", "--show-top", "0", "--pbp-width", "250"},
        error))
        << error.toStdString();
    EXPECT_FALSE(line.request.view.showTop);
    EXPECT_EQ(line.request.view.playColumnWidth, 250);

    CommandLine defaults;
    ASSERT_TRUE(defaults.Parse({"pylonix", "--export", "json", "--game", "g.xml"}, error));
    EXPECT_TRUE(defaults.request.view.showTop);
    EXPECT_FALSE(defaults.request.view.playColumnWidth.has_value());

    for (const QStringList &bad :
         {QStringList{"--show-top", "2"}, QStringList{"--show-top", "yes"},
          QStringList{"--pbp-width", "-5"}, QStringList{"--pbp-width", "x"}}) {
        CommandLine wrong;
        error.clear();
        EXPECT_FALSE(
            wrong.Parse(QStringList{"pylonix", "--export", "json", "--game", "g.xml"} + bad, error))
            << bad.join(' ').toStdString();
        EXPECT_TRUE(error.contains(bad[0])) << error.toStdString();
    }
}

TEST(ExportPages, ProgramRunsWithoutADisplay)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(environment);
    process.start(PYLONIX_PROGRAM, {"--export", "json", "--game", QString::fromStdString(finalGame),
                                    "--show-top", "0"});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(process.readAllStandardError().isEmpty());
    const QJsonObject pages =
        QJsonDocument::fromJson(process.readAllStandardOutput())["pages"].toObject();
    EXPECT_EQ(pages["team_stats"]["rows"].toArray().size(), 21);
}
