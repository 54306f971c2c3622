// The score bug as a broadcast browser source sees it: headless Chromium at
// 1920x1080 following the service while the game it is fed changes names,
// ends, and ends in overtime.

#include "DevToolsPage.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include "service/GameDocumentFromSession.h"
#include "service/GameService.h"

#include "../support/ScratchDirectory.h"

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace
{

GameDocument documentOf(const std::string &gameFile, int seq, const ViewOptions &options)
{
    GameDocument document;
    QString error;
    EXPECT_TRUE(GameDocumentFromSession(options).Load(
        {gameFile, {}, {}}, seq, QDateTime::currentDateTimeUtc(), document, error))
        << error.toStdString();
    return document;
}

QJsonObject member(const GameDocument &document, const char *name)
{
    return QJsonDocument::fromJson(document.members.at(name)).object();
}

// `document` as reload `seq` with the teams' short names replaced.
GameDocument withShortNames(GameDocument document, int seq, const QString &home,
                            const QString &visitor)
{
    QJsonArray teams = QJsonDocument::fromJson(document.members.at("teams")).array();
    for (const auto &[side, name] : {std::pair{0, home}, {1, visitor}}) {
        QJsonObject team = teams[side].toObject();
        QJsonObject values = team["values"].toObject();
        values["Short Name"] = name;
        team["values"] = values;
        teams[side] = team;
    }
    document.members["teams"] = QJsonDocument(teams).toJson(QJsonDocument::Compact);
    document.seq = seq;
    return document;
}

// "#rrggbb" as the browser computes a colour: "rgb(r, g, b)".
QString computed(const QString &hex)
{
    const QColor color(hex);
    return QString("rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// With PYLONIX_SCOREBUG_PICTURES set to a folder, the bug as it is now, over
// a field's green, into NAME.png there (scripts/scorebug-pictures).
void picture(DevToolsPage &bug, const QString &name)
{
    const QString folder = qEnvironmentVariable("PYLONIX_SCOREBUG_PICTURES");
    if (folder.isEmpty())
        return;
    bug.Call("Emulation.setDefaultBackgroundColorOverride",
             {{"color", QJsonObject{{"r", 58}, {"g", 110}, {"b", 62}, {"a", 1}}}});
    const QJsonObject shot = bug.Call(
        "Page.captureScreenshot",
        {{"format", "png"},
         {"clip",
          QJsonObject{{"x", 48}, {"y", 840}, {"width", 1066}, {"height", 200}, {"scale", 1}}}});
    QFile file(QDir(folder).filePath(name + ".png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromBase64(shot["data"].toString().toLatin1()));
    bug.Call("Emulation.setDefaultBackgroundColorOverride");
}

} // namespace

TEST(ScoreBugPage, KeepsItsWidthWearsTheTeamColoursAndTellsTheGameIsOver)
{
    const QString chromium = DevToolsPage::FindChromium();
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup-common.sh installs it)";
    GameService service;
    QString error;
    ASSERT_TRUE(service.Listen(ServeSettings(), error)) << error.toStdString();
    ViewOptions options;
    options.colors = {RGB(0xff, 0xd1, 0x00), RGB(0x0b, 0x22, 0x65)}; // a light and a dark plate
    // The simulator's seed 1 goes to overtime; after play 100 it is written
    // as stat crews write, with the timeouts left, which the samples do not tell.
    const pylonix::feed::RosterFactory rosters;
    pylonix::feed::GameSimulator simulator(1, rosters.home(), rosters.visitor());
    std::string during;
    simulator.run([&during](const pylonix::feed::GameState &state, int play) {
        if (play == 100)
            during = pylonix::feed::GameXmlWriter::write(state, pylonix::feed::Encoding::Utf8,
                                                         pylonix::feed::FileShape::Real);
    });
    const ScratchDirectory scratch;
    const GameDocument live = documentOf(scratch.Write("live.xml", during), 1, options);
    service.Publish(live);

    DevToolsPage bug(chromium, QString("http://127.0.0.1:%1/scorebug").arg(service.Port()));
    ASSERT_TRUE(bug.WaitUntil("!document.getElementById('bug').classList.contains('waiting')"));
    const auto number = [&bug](const QString &expression) {
        return bug.Evaluate(expression).toDouble(-1);
    };
    const QString bugBox = "document.getElementById('bug').getBoundingClientRect()";
    const double width = number(bugBox + ".width");
    EXPECT_GT(width, 0);
    EXPECT_LE(number(bugBox + ".right"), 1920);
    EXPECT_LE(number(bugBox + ".bottom"), 1080);
    EXPECT_EQ(bug.Evaluate("getComputedStyle(document.body).backgroundColor").toString(),
              "rgba(0, 0, 0, 0)");

    const QJsonObject colors = member(live, "colors");
    const QJsonObject timeouts = member(live, "situation")["timeouts_left"].toObject();
    for (const QString side : {"home", "visitor"}) {
        SCOPED_TRACE(side.toStdString());
        const QString plate =
            QString("getComputedStyle(document.querySelector('#%1 .plate'))").arg(side);
        EXPECT_EQ(bug.Evaluate(plate + ".backgroundColor").toString(),
                  computed(colors[side].toString()));
        EXPECT_NE(bug.Evaluate(plate + ".color").toString(),
                  bug.Evaluate(plate + ".backgroundColor").toString());
        // One pip per timeout a team can have, each large enough to read on air.
        const QJsonArray pips =
            bug.Evaluate(QString("[...document.querySelectorAll('#%1-timeouts i')].map((pip) => "
                                 "{ const box = pip.getBoundingClientRect(); "
                                 "return [box.width, box.height]; })")
                             .arg(side))
                .toArray();
        ASSERT_TRUE(timeouts[side].isDouble());
        EXPECT_EQ(pips.size(), 3);
        for (const QJsonValue &pip : pips) {
            EXPECT_GE(pip[0].toDouble(), 24);
            EXPECT_GE(pip[1].toDouble(), 8);
        }
    }
    picture(bug, "scorebug");

    // Names far too long for a plate shrink or are cut; the bug keeps its
    // width and every name stays on its own plate.
    const QString longHome = "Kestrel Bay Mariners of the Northern Shore";
    service.Publish(withShortNames(live, 2, longHome, "Aldric & Mercy Wardens"));
    ASSERT_TRUE(bug.WaitFor("home-name", longHome));
    EXPECT_EQ(number(bugBox + ".width"), width);
    for (const QString side : {"home", "visitor"}) {
        const QString inside =
            QString("document.getElementById('%1-name').getBoundingClientRect().right <= "
                    "document.querySelector('#%1 .plate').getBoundingClientRect().right")
                .arg(side);
        EXPECT_TRUE(bug.Evaluate(inside).toBool()) << side.toStdString();
    }
    picture(bug, "scorebug-long-names");

    // A game over, in regulation and in overtime.
    const GameDocument final = documentOf(PYLONIX_SAMPLES_DIR "/game-final.xml", 3, options);
    ASSERT_EQ(member(final, "situation")["period_label"].toString(), "Final");
    service.Publish(final);
    EXPECT_TRUE(bug.WaitFor("period", "FINAL"));
    EXPECT_EQ(bug.Text("clock"), "");
    EXPECT_EQ(number(bugBox + ".width"), width);

    const GameDocument overtime = documentOf(
        scratch.Write("overtime.xml", pylonix::feed::GameXmlWriter::write(simulator.state())), 4,
        options);
    ASSERT_EQ(member(overtime, "situation")["period_label"].toString(), "Final/OT");
    service.Publish(overtime);
    EXPECT_TRUE(bug.WaitFor("period", "FINAL OT"));
    EXPECT_EQ(bug.Text("down") + bug.Text("ball-on"), "");
}
