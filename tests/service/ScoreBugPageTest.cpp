// The score bug as a broadcast browser source shows it: headless Chromium at
// 1920x1080 following the service while the game changes names and ends.

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

using namespace pylonix::feed;

namespace
{

GameDocument documentOf(const std::string &gameFile, int seq, const ViewOptions &options)
{
    GameDocument document;
    QString error;
    EXPECT_TRUE(GameDocumentFromSession(options).Load(
        {gameFile, {}, {}}, seq, QDateTime::currentDateTimeUtc(), document, error));
    return document;
}

// With PYLONIX_SCOREBUG_PICTURES naming a folder, the bug over a field's
// green into NAME.png there (scripts/scorebug-pictures).
void picture(DevToolsPage &bug, const QString &name)
{
    if (qEnvironmentVariableIsEmpty("PYLONIX_SCOREBUG_PICTURES"))
        return;
    bug.Call("Emulation.setDefaultBackgroundColorOverride",
             {{"color", QJsonObject{{"r", 58}, {"g", 110}, {"b", 62}, {"a", 1}}}});
    const QJsonObject clip{{"x", 48}, {"y", 840}, {"width", 1066}, {"height", 200}, {"scale", 1}};
    QFile file(QDir(qEnvironmentVariable("PYLONIX_SCOREBUG_PICTURES")).filePath(name + ".png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromBase64(
        bug.Call("Page.captureScreenshot", {{"clip", clip}})["data"].toString().toLatin1()));
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
    // Seed 1 goes to overtime; after play 100 it is written as stat crews
    // write, with the timeouts left (3 each then), which the samples do not tell.
    const RosterFactory rosters;
    GameSimulator simulator(1, rosters.home(), rosters.visitor());
    std::string during;
    simulator.run([&during](const GameState &state, int play) {
        if (play == 100)
            during = GameXmlWriter::write(state, Encoding::Utf8, FileShape::Real);
    });
    const ScratchDirectory scratch;
    GameDocument live = documentOf(scratch.Write("live.xml", during), 1, options);
    service.Publish(live);

    DevToolsPage bug(chromium, QString("http://127.0.0.1:%1/scorebug").arg(service.Port()));
    ASSERT_TRUE(bug.WaitUntil("!document.getElementById('bug').classList.contains('waiting')"));
    const QString box = "document.getElementById('bug').getBoundingClientRect()";
    const double width = bug.Evaluate(box + ".width").toDouble();
    EXPECT_EQ(bug.Evaluate("getComputedStyle(document.body).backgroundColor"), "rgba(0, 0, 0, 0)");
    const QJsonObject colors = QJsonDocument::fromJson(live.members.at("colors")).object();
    for (const char *side : {"home", "visitor"}) {
        const QColor color(colors[side].toString());
        EXPECT_EQ(bug.Evaluate(QString("getComputedStyle(document.querySelector('#%1 .plate'))"
                                       ".backgroundColor")
                                   .arg(side)),
                  QString("rgb(%1, %2, %3)").arg(color.red()).arg(color.green()).arg(color.blue()));
        // Three pips, each large enough to read on air.
        EXPECT_TRUE(bug.Evaluate(QString("[...document.querySelectorAll('#%1-timeouts i')]"
                                         ".filter((pip) => pip.offsetWidth >= 24 && "
                                         "pip.offsetHeight >= 8).length === 3")
                                     .arg(side))
                        .toBool())
            << side;
    }
    picture(bug, "scorebug");
    const QString nameSize =
        "parseFloat(getComputedStyle(document.getElementById('home-name')).fontSize)";
    const double shortNameSize = bug.Evaluate(nameSize).toDouble();

    // Names far too long for the plates: set smaller and cut, each on its
    // plate, and the bug keeps its width.
    QJsonArray teams = QJsonDocument::fromJson(live.members.at("teams")).array();
    for (int side = 0; side < 2; ++side) {
        QJsonObject team = teams[side].toObject();
        team["values"] = QJsonObject{{"Short Name", "Kestrel Bay Mariners of the Northern Shore"}};
        teams[side] = team;
    }
    live.members["teams"] = QJsonDocument(teams).toJson(QJsonDocument::Compact);
    live.seq = 2;
    service.Publish(live);
    ASSERT_TRUE(bug.WaitFor("home-name", "Kestrel Bay Mariners of the Northern Shore"));
    EXPECT_EQ(bug.Evaluate(box + ".width").toDouble(), width);
    EXPECT_LT(bug.Evaluate(nameSize).toDouble(), shortNameSize);
    EXPECT_TRUE(bug.Evaluate("[...document.querySelectorAll('.plate')].every((plate) => "
                             "plate.querySelector('.name').getBoundingClientRect().right <= "
                             "plate.getBoundingClientRect().right && getComputedStyle("
                             "plate.querySelector('.name')).overflowX === 'hidden')")
                    .toBool());
    picture(bug, "scorebug-long-names");

    // Over, in regulation and in overtime.
    service.Publish(documentOf(PYLONIX_SAMPLES_DIR "/game-final.xml", 3, options));
    EXPECT_TRUE(bug.WaitFor("period", "FINAL"));
    EXPECT_EQ(bug.Text("clock"), "");
    service.Publish(
        documentOf(scratch.Write("ot.xml", GameXmlWriter::write(simulator.state())), 4, options));
    EXPECT_TRUE(bug.WaitFor("period", "FINAL OT"));
    EXPECT_EQ(bug.Evaluate(box + ".width").toDouble(), width);
}
