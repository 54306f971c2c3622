#include "ServiceTestClient.h"

#include "service/GameDocumentFromSession.h"
#include "service/GameService.h"

#include "../support/ScratchDirectory.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

// The change message is the JSON Patch from the state before, read by an
// RFC 6902 applier not ours: a score is one "replace", a table gone is a
// "remove", a long table that changed a little is patched inside.
TEST(GameDocument, ChangedMessageIsTheJsonPatchFromTheStateBefore)
{
    using nlohmann::json;
    const auto state = [](const GameDocument &document) {
        return json::parse(document.StateJson().toStdString());
    };
    const GameDocument before = SampleDocument(1, 7);
    GameDocument after = SampleDocument(2, 14);
    after.pages["offense/home/passing"] = R"({"columns":[{"header":"KBM"}],"rows":[{}]})";
    after.pages["offense/home/rushing"] = R"({"columns":[],"rows":[]})";
    after.pages.erase("team_stats");

    const QByteArray sent = after.ChangedMessage(before);
    const json message = json::parse(sent.toStdString());
    EXPECT_EQ(message["seq"], 2);
    EXPECT_EQ(message["from"], 1);                              // the state it is applied to
    EXPECT_EQ(message["updated"], after.updated.toStdString()); // the state's time goes along
    EXPECT_EQ(state(before).patch(message["patch"]), state(after));
    EXPECT_TRUE(sent.contains(R"({"op":"replace","path":"/scoreboard/home_score","value":14})"));
    EXPECT_TRUE(sent.contains(R"({"op":"remove","path":"/pages/team_stats"})"));
    EXPECT_TRUE(before.ChangedMessage(before).isEmpty());

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
    const QByteArray small = longer.ChangedMessage(grown);
    EXPECT_LT(small.size(), 300) << small.constData();
    EXPECT_EQ(state(grown).patch(json::parse(small.toStdString())["patch"]), state(longer));
    // A reload that changed nothing still tells its number and time.
    const json unchanged = json::parse(SampleDocument(3, 7).ChangedMessage(before).toStdString());
    EXPECT_EQ(unchanged["seq"], 3);
    EXPECT_EQ(unchanged["updated"], SampleDocument(3, 7).updated.toStdString());
    EXPECT_EQ(unchanged["patch"], json::array());
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
        ViewOptions options;
    };
    ViewOptions narrowed;
    narrowed.drives.quarter = 2;
    narrowed.drives.homeOnly = true;
    narrowed.showTop = false;
    narrowed.playColumnWidth = 250;
    narrowed.colors = {RGB(0xff, 0xd1, 0x00), RGB(0x0b, 0x22, 0x65)};
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
          "--pbp-width", "250", "--home-color", "#FFD100", "--visitor-color", "#0b2265"},
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
        if (test.options == narrowed) { // the teams' colours as given, in lower case
            EXPECT_EQ(served["colors"].toObject(),
                      (QJsonObject{{"home", "#ffd100"}, {"visitor", "#0b2265"}}));
        }
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
