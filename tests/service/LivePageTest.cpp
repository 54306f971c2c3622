// The live page in headless Chromium at desktop and phone size while a feed
// game is played into the service: the reader's place and the score stay in
// view, nothing overflows sideways on the phone, and a finished game says so.
#include "DevToolsPage.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "service/GameDocumentFromSession.h"
#include "service/GameService.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

namespace
{

// What the element the reader looks at, kept in `window.reader`, has moved
// on the screen since it was marked; and whether the header with the score
// is at the top of the screen.
const QString kReaderMoved =
    "Math.abs(window.reader.getBoundingClientRect().top - window.readerTop)";
const QString kHeaderInView = "(() => { const r = document.getElementById('game')"
                              ".getBoundingClientRect(); return r.top === 0 && r.bottom > 0 && "
                              "r.bottom < innerHeight / 3; })()";

// The first element wider than the screen that no scrolling box holds, or
// the page's own width when the page itself scrolls sideways; empty when
// nothing overflows.
const QString kOverflow = R"((() => {
  if (document.scrollingElement.scrollWidth > innerWidth)
    return "the page is " + document.scrollingElement.scrollWidth + " px wide";
  for (const e of document.body.querySelectorAll("*")) {
    const r = e.getBoundingClientRect();
    if (r.width === 0 || (r.left >= -0.5 && r.right <= innerWidth + 0.5)) continue;
    let boxed = false;
    for (let p = e.parentElement; p && !boxed; p = p.parentElement)
      boxed = ["auto", "scroll", "hidden"].includes(getComputedStyle(p).overflowX);
    if (!boxed) return e.tagName + "#" + e.id + "." + e.className + " reaches " + r.right;
  }
  return "";
})())";

// The document of the game file `xml` as the service serves it.
GameDocument documentOf(const std::string &xml, int seq, const QTemporaryDir &folder)
{
    const std::string file = folder.filePath("game.xml").toStdString();
    std::ofstream(file) << xml;
    GameDocument document;
    QString error;
    EXPECT_TRUE(GameDocumentFromSession().Load({file, "", ""}, seq, QDateTime::currentDateTimeUtc(),
                                               document, error))
        << error.toStdString();
    return document;
}

qsizetype playCount(const GameDocument &document)
{
    return QJsonDocument::fromJson(document.members.at("plays")).array().size();
}

QString member(const GameDocument &document, const char *name, const char *key)
{
    return QJsonDocument::fromJson(document.members.at(name)).object()[key].toVariant().toString();
}

} // namespace

TEST(LivePage, KeepsTheReadersPlaceAndTheScoreInViewWhileTheGameIsPlayed)
{
    const QString chromium = DevToolsPage::FindChromium();
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/setup-common.sh installs it)";
    using namespace pylonix::feed;
    const RosterFactory rosters;
    std::vector<std::string> states;
    GameSimulator(1, rosters.home(), rosters.visitor()) // a game that goes to overtime
        .run([&](const GameState &state, int) { states.push_back(GameXmlWriter::write(state)); });
    ASSERT_GT(states.size(), 100u);

    GameService service;
    QString error;
    ASSERT_TRUE(service.Listen(ServeSettings(), error)) << error.toStdString();
    QTemporaryDir folder;
    // From a little before a drive starts: the drive summary above the
    // reader gains a row.
    const auto drives = [&states](std::size_t play) {
        std::size_t count = 0;
        for (std::size_t at = states[play].find("<drive "); at != std::string::npos;
             at = states[play].find("<drive ", at + 1))
            ++count;
        return count;
    };
    std::size_t first = states.size() * 2 / 3;
    while (first + 8 < states.size() && drives(first + 4) == drives(first))
        ++first;
    ASSERT_LT(first + 8, states.size());
    GameDocument document = documentOf(states[first], 1, folder);
    service.Publish(document);
    const QString url = QString("http://127.0.0.1:%1/").arg(service.Port());
    const auto showsAllPlays = [](const GameDocument &shown) {
        return QString("document.querySelectorAll('#plays .play').length === %1")
            .arg(playCount(shown));
    };

    DevToolsPage phone(chromium, url, 390, 844, true);
    DevToolsPage desktop(chromium, url, 1920, 1080, false);
    ASSERT_TRUE(phone.WaitUntil(showsAllPlays(document)));
    ASSERT_TRUE(desktop.WaitUntil(showsAllPlays(document)));
    EXPECT_EQ(phone.Text("status"), "live");

    // On the phone, every table opened, nothing is wider than the screen
    // outside a box of its own that scrolls.
    phone.Evaluate("document.querySelectorAll('details').forEach((d) => { d.open = true; })");
    EXPECT_EQ(phone.Evaluate(kOverflow).toString(), "");

    // Each reader reads a play in the middle of the play-by-play, below
    // sections that grow with the game.
    for (DevToolsPage *page : {&phone, &desktop})
        page->Evaluate(
            "window.reader = document.querySelectorAll('#plays .play')[20];"
            "window.scrollTo(0, window.reader.getBoundingClientRect().top + scrollY - 400);"
            "window.readerTop = window.reader.getBoundingClientRect().top");
    ASSERT_GT(phone.Evaluate("scrollY").toDouble(), 0);
    ASSERT_GT(desktop.Evaluate("scrollY").toDouble(), 0);

    for (std::size_t play = first + 1; play < first + 8 && play < states.size(); ++play) {
        SCOPED_TRACE("play " + std::to_string(play));
        const qsizetype before = playCount(document);
        document = documentOf(states[play], document.seq + 1, folder);
        service.Publish(document);
        for (DevToolsPage *page : {&phone, &desktop}) {
            ASSERT_TRUE(page->WaitUntil(showsAllPlays(document)));
            EXPECT_LT(page->Evaluate(kReaderMoved).toDouble(), 1.0);
            EXPECT_TRUE(page->Evaluate(kHeaderInView).toBool());
            EXPECT_EQ(page->Text("home-score"), member(document, "scoreboard", "home_score"));
            EXPECT_EQ(
                page->Evaluate("document.querySelectorAll('#plays .play.new').length").toInt(),
                playCount(document) - before);
        }
    }
    EXPECT_EQ(phone.Evaluate(kOverflow).toString(), "");

    // The last play ends the game in overtime.
    document = documentOf(states.back(), document.seq + 1, folder);
    ASSERT_EQ(member(document, "situation", "period_label"), "Final/OT");
    service.Publish(document);
    EXPECT_TRUE(phone.WaitFor("status", "Final/OT"));
    EXPECT_TRUE(desktop.WaitFor("status", "Final/OT"));
    EXPECT_LT(desktop.Evaluate(kReaderMoved).toDouble(), 1.0);
    EXPECT_EQ(phone.Text("down-distance"), ""); // no current down once final

    // A game that ended in regulation.
    const std::string samples = PYLONIX_SAMPLES_DIR;
    GameDocument regulation;
    ASSERT_TRUE(GameDocumentFromSession().Load({samples + "/game-final.xml", "", ""},
                                               document.seq + 1, QDateTime::currentDateTimeUtc(),
                                               regulation, error));
    ASSERT_EQ(member(regulation, "situation", "period_label"), "Final");
    service.Publish(regulation);
    EXPECT_TRUE(phone.WaitFor("status", "Final"));
}
