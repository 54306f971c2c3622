// The statistics pages in the export: the same tables the window fills, and
// the options that change them.
#include "app/CommandLine.h"
#include "app/GameExport.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "pages/TableJson.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"

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
    session.drives().quarter = 3;
    session.drives().homeOnly = 1;
    session.drives().LoadDrives(session.game(), session.teams());
    pages.FillDriveLists(session.drives(), true);

    ExportRequest request;
    request.gameFile = finalGame;
    request.homeSeasonFile = homeSeason;
    request.visitorSeasonFile = visitorSeason;
    request.quarter = 3;
    request.homeOnly = true;
    const QJsonObject exported = exportedPages(request);
    const QJsonObject built = PagesToJson(pages);
    ASSERT_EQ(exported.keys(), built.keys());
    for (const QString &key : built.keys())
        EXPECT_EQ(exported[key], built[key]) << key.toStdString();
    // Not trivially equal: the tables hold the game.
    EXPECT_GT(exported["play_by_play"]["rows"].toArray().size(), 20);
    EXPECT_GT(exported["offense"]["home"]["passing"]["rows"].toArray().size(), 0);
}

// Written table by table and row by row, the pages are the text of the whole
// object, also when each page is filled just before it is written and each
// table emptied after.
TEST(ExportPages, WrittenRowByRowTheyAreTheWholePages)
{
    GameSession session;
    ASSERT_TRUE(session.Reload({finalGame, homeSeason, visitorSeason}).gameOpened);
    session.drives().LoadDrives(session.game(), session.teams());
    QWidget dialog;
    dialog.setFont(DialogFont());
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    StatPages pages(&dialog, &container, QFont());
    for (const char *page : StatPages::kFilledTables)
        pages.Fill(page, session, {0, true});
    const QByteArray whole = JsonStreamWriter::Text(PagesToJson(pages), 1);
    const int playByPlayRows = pages.playByPlay->GetItemCount();
    ASSERT_GT(playByPlayRows, 100);

    QByteArray written;
    int pieces = 0;
    const JsonStreamWriter::Sink sink = [&](const QByteArray &piece) {
        written += piece;
        ++pieces;
        return true;
    };
    ASSERT_TRUE(WritePagesJson(pages, 1, sink));
    EXPECT_EQ(written.toStdString(), whole.toStdString());
    // Each row is a piece of its own.
    EXPECT_GT(pieces, playByPlayRows);

    for (CZrGridListCtrl *table : std::initializer_list<CZrGridListCtrl *>{
             pages.yardage, pages.teamStats, pages.scoring, pages.playByPlay, pages.driveList,
             pages.playList, pages.passing[0], pages.defense[1], pages.specialTeams[13]})
        table->DeleteAllItems();
    written.clear();
    QStringList filled;
    int emptied = 0;
    ASSERT_TRUE(WritePagesJson(
        pages, 1, sink,
        [&](const char *page) {
            filled << page;
            pages.Fill(page, session, {0, true});
        },
        [&](CZrGridListCtrl &table) {
            table.DeleteAllItems();
            ++emptied;
        }));
    EXPECT_EQ(written.toStdString(), whole.toStdString());
    EXPECT_EQ(filled, QStringList({"defense", "drives", "offense", "play_by_play", "plays",
                                   "scoring", "special_teams", "team_stats", "yardage"}));
    EXPECT_EQ(emptied, 6 + 2 + 6 + 14);
    EXPECT_EQ(pages.playByPlay->GetItemCount(), 0);
}

// Writing stops at the first piece refused.
TEST(ExportPages, WritingStopsAtTheFirstRefusedPiece)
{
    GameSession session;
    ASSERT_TRUE(session.Reload({finalGame, "", ""}).gameOpened);
    QWidget dialog;
    CPageContainerWnd container(&dialog, IDC_PAGE_CONTAINER);
    StatPages pages(&dialog, &container, QFont());
    pages.FillPlayByPlay(session, 0, true);
    for (const int accepted : {0, 1, 5, 40}) {
        int offered = 0;
        EXPECT_FALSE(WritePagesJson(pages, 0, [&](const QByteArray &) {
            return offered++ < accepted;
        })) << accepted;
        EXPECT_EQ(offered, accepted + 1);
    }
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

    request.showTop = false;
    request.playByPlayWidth = 120;
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
    EXPECT_FALSE(line.request.showTop);
    EXPECT_EQ(line.request.playByPlayWidth, 250);

    CommandLine defaults;
    ASSERT_TRUE(defaults.Parse({"pylonix", "--export", "json", "--game", "g.xml"}, error));
    EXPECT_TRUE(defaults.request.showTop);
    EXPECT_FALSE(defaults.request.playByPlayWidth.has_value());

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
