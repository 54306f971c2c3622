#include "ServiceTestClient.h"

#include "service/GameDocumentFromSession.h"
#include "service/GameService.h"
#include "service/JsonEdits.h"

#include "../support/ScratchDirectory.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

TEST(GameDocument, ChangedMessageHoldsOnlyWhatDiffers)
{
    const GameDocument before = SampleDocument(1, 7);
    GameDocument after = SampleDocument(2, 14);
    after.pages["offense/home/passing"] = R"({"columns":[{"header":"KBM"}],"rows":[{}]})";
    after.pages.erase("team_stats");

    const QJsonObject message = QJsonDocument::fromJson(after.ChangedMessage(before)).object();
    EXPECT_EQ(message["seq"].toInt(), 2);
    EXPECT_EQ(message["from"].toInt(), 1);                   // the state it is applied to
    EXPECT_EQ(message["updated"].toString(), after.updated); // the state's time goes along
    const QJsonObject changed = message["changed"].toObject();
    EXPECT_EQ(changed.keys(), QStringList({"pages", "scoreboard"}));
    const QJsonValue scoreboard = JsonEdits::Apply(
        QJsonDocument::fromJson(before.members.at("scoreboard")).object(),
        changed["scoreboard"]["$edits"].toArray()); // a score is an edit of the scoreboard
    EXPECT_EQ(scoreboard["home_score"].toInt(), 14);
    const QJsonObject pages = changed["pages"].toObject();
    EXPECT_EQ(pages.keys(), QStringList({"offense", "team_stats"}));
    EXPECT_TRUE(pages["team_stats"].isNull()); // gone: the client drops it
    EXPECT_EQ(pages["offense"].toObject().keys(), QStringList({"home"}));
    EXPECT_TRUE(before.ChangedMessage(before).isEmpty());

    // A long table that changed a little is sent as the edits that make it.
    QJsonArray rows;
    for (int i = 0; i < 100; ++i)
        rows.append(QJsonObject{{"cells", QJsonArray{QString("Player %1").arg(i), i}}});
    GameDocument grown = SampleDocument(4, 7);
    grown.pages["team_stats"] =
        QJsonDocument(QJsonObject{{"columns", QJsonArray{}}, {"rows", rows}})
            .toJson(QJsonDocument::Compact);
    rows[40] = QJsonObject{{"cells", QJsonArray{"Player 40", 41}}};
    rows.append(QJsonObject{{"cells", QJsonArray{"Player 100", 1}}});
    GameDocument longer = SampleDocument(5, 7);
    longer.pages["team_stats"] =
        QJsonDocument(QJsonObject{{"columns", QJsonArray{}}, {"rows", rows}})
            .toJson(QJsonDocument::Compact);
    const QByteArray sent = longer.ChangedMessage(grown);
    EXPECT_LT(sent.size(), 400);
    const QJsonValue table = QJsonDocument::fromJson(sent)["changed"]["pages"]["team_stats"];
    const QJsonValue held = QJsonDocument::fromJson(grown.pages["team_stats"]).object();
    EXPECT_EQ(JsonEdits::Apply(held, table["$edits"].toArray()),
              QJsonDocument::fromJson(longer.pages["team_stats"]).object());
    // A reload that changed nothing still tells its number and time.
    const QJsonObject unchanged =
        QJsonDocument::fromJson(SampleDocument(3, 7).ChangedMessage(before)).object();
    EXPECT_EQ(unchanged["seq"].toInt(), 3);
    EXPECT_EQ(unchanged["updated"].toString(), SampleDocument(3, 7).updated);
    EXPECT_TRUE(unchanged["changed"].toObject().isEmpty());
}

namespace
{

// The export's members that describe the window rather than the game.
const QStringList kWindowMembers{"overview", "period_box", "layout", "drive_chart_view"};

// What `pylonix --export json` writes for `arguments`.
QJsonObject programExport(const QStringList &arguments)
{
    QProcess program;
    program.start(PYLONIX_PROGRAM, QStringList{"--export", "json"} + arguments);
    if (!program.waitForFinished(60000) || program.exitCode() != 0) {
        ADD_FAILURE() << "the export failed: " << program.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(program.readAllStandardOutput()).object();
}

} // namespace

// The document served holds exactly the export's members that need no
// window, equal member by member, whatever the files and options.
TEST(GameDocumentFromSession, HoldsTheExportsMembersThatNeedNoWindow)
{
    const QString samples = PYLONIX_SAMPLES_DIR;
    struct Case {
        QStringList arguments;
        GameFiles files;
        GameJsonOptions options;
    };
    GameJsonOptions narrowed;
    narrowed.quarter = 2;
    narrowed.homeOnly = true;
    narrowed.showTop = false;
    narrowed.playByPlayWidth = 250;
    const std::vector<Case> cases{
        {{"--game", samples + "/game-live.xml"},
         {(samples + "/game-live.xml").toStdString(), {}, {}},
         {}},
        {{"--game", samples + "/game-final.xml", "--home", samples + "/season-home.xml",
          "--visitor", samples + "/season-visitor.xml"},
         {(samples + "/game-final.xml").toStdString(), (samples + "/season-home.xml").toStdString(),
          (samples + "/season-visitor.xml").toStdString()},
         {}},
        {{"--game", samples + "/small/game.xml", "--period", "2", "--home-only", "--show-top", "0",
          "--pbp-width", "250"},
         {(samples + "/small/game.xml").toStdString(), {}, {}},
         narrowed},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.arguments.join(' ').toStdString());
        QJsonObject exported = programExport(test.arguments);
        ASSERT_FALSE(exported.isEmpty());
        for (const QString &member : kWindowMembers)
            EXPECT_TRUE(exported.contains(member)) << member.toStdString();
        for (const QString &member : kWindowMembers)
            exported.remove(member);

        GameService service;
        ServeSettings settings;
        QString error;
        ASSERT_TRUE(service.Listen(settings, error)) << error.toStdString();
        GameDocument document;
        ASSERT_TRUE(GameDocumentFromSession(test.options)
                        .Load(test.files, 5, QDateTime::currentDateTimeUtc(), document, error))
            << error.toStdString();
        service.Publish(document);
        QJsonObject served = Request(service.Port(), "/api/game").json();
        EXPECT_EQ(served.take("seq").toInt(), 5);
        EXPECT_FALSE(served.take("updated").toString().isEmpty());
        EXPECT_EQ(served.keys(), exported.keys());
        for (const QString &member : exported.keys())
            EXPECT_EQ(served[member], exported[member]) << member.toStdString();
    }
    GameDocument unread;
    QString error;
    EXPECT_FALSE(GameDocumentFromSession().Load(
        {(samples + "/no-such-game.xml").toStdString(), {}, {}}, 2, {}, unread, error));
    EXPECT_TRUE(error.contains("no-such-game.xml"));
}

// A game loaded already is described as loaded: the file is not read again,
// so a file gone or rewritten since cannot make the document disagree with
// what the session holds. A season file that could not be read is left out.
TEST(GameDocumentFromSession, DescribesALoadedSessionWithoutReadingAgain)
{
    ScratchDirectory dir;
    const GameFiles files{dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-final.xml")),
                          dir.Write("home.xml", ReadFile(PYLONIX_SAMPLES_DIR "/season-home.xml")),
                          (dir.Path() / "no-visitor.xml").string()};
    GameSession session;
    const ReloadResult loaded = session.Reload(files);
    ASSERT_TRUE(loaded.gameOpened);
    ASSERT_TRUE(loaded.seasonFailed[1]);
    dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/game-live.xml"));

    GameDocument document;
    QString error;
    const QDateTime updated = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    ASSERT_TRUE(
        GameDocumentFromSession().Build(session, files, loaded, 3, updated, document, error));
    const QJsonObject served = QJsonDocument::fromJson(document.Json()).object();
    EXPECT_EQ(served["seq"].toInt(), 3);
    EXPECT_EQ(served["updated"].toString(), "2027-01-15T08:00:00.000Z");
    const QJsonObject scoreboard = served["scoreboard"].toObject();
    EXPECT_EQ(scoreboard["home_score"].toInt(), session.scoreboard().homeScore);
    EXPECT_EQ(scoreboard["visitor_score"].toInt(), session.scoreboard().visitorScore);
    EXPECT_TRUE(scoreboard["final"].toBool());
    EXPECT_EQ(served["situation"].toObject()["line_score"].toObject()["home_total"].toInt(),
              session.scoreboard().homeScore);
    const QJsonArray seasons = served["season_teams"].toArray();
    EXPECT_FALSE(seasons[0].toObject().isEmpty());
    EXPECT_TRUE(seasons[1].toObject().isEmpty());
    EXPECT_EQ(document.gameId,
              QString::fromStdString(session.game().GetText("/fbgame/venue/@gameid")));
}

// A game file may claim any number of timeouts left; the program hands out
// (exported, served and published alike) no more than a team can have, so no
// page draws millions of marks.
TEST(GameDocumentFromSession, NoMoreTimeoutsLeftThanATeamCanHave)
{
    QFile sample(PYLONIX_SAMPLES_DIR "/small/game.xml");
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray game = sample.readAll().replace(
        "context=\"H,3,13,H22\"/>", "context=\"H,3,13,H22\" htoh=\"50000000\" vtoh=\"2\"/>");
    ScratchDirectory directory;
    const std::string path = directory.Write("game.xml", game.toStdString());
    const QJsonObject left = programExport({"--game", QString::fromStdString(path)})["situation"]
                                 .toObject()["timeouts_left"]
                                 .toObject();
    EXPECT_EQ(left["home"].toInt(), 3);
    EXPECT_EQ(left["visitor"].toInt(), 2);
}
