// The Individual Player window: which categories it shows and what they
// hold, the plays that involve the player, and where everything is placed.
#include "player/CPlayerDlg.h"
#include "player/PlayerJson.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "pages/CPageContainerWnd.h"
#include "pages/CStatGridCtrl.h"
#include "platform/SystemMetrics.h"

#include "../support/ScratchDirectory.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <memory>

namespace
{

[[maybe_unused]] void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Home players: 0 a quarterback "J. Smith" with a season line; 1 "Smithson",
// a receiver; 2 a returner without a short name whose check name the season
// file lacks; 3 a player in every category.
const char *const kGame = R"(<fbgame>
  <venue><rules qtrs="4" field="100"/></venue>
  <team vh="H" name="Harbor" id="HAR" record=""><totals/>
    <player uni="12" name="Jon Smith" shortname="J. Smith" checkname="SMITH,JON">
      <pass comp="12" att="20" int="1" yds="150" td="2" long="30" sacks="1"/>
      <rush att="3" yds="9" td="0" long="6"/>
    </player>
    <player uni="81" name="Al Smithson" shortname="Smithson" checkname="SMITHSON,AL">
      <rcv no="4" yds="50" td="1" long="20"/>
    </player>
    <player uni="2" name="Nameless Returner" shortname="" checkname="RETURNER,N">
      <kr no="2" yds="40" td="0" long="25"/>
    </player>
    <player uni="55" name="Every Thing" shortname="E. Thing" checkname="THING,EVERY">
      <pass comp="1" att="1" int="0" yds="5" td="0" long="5" sacks="0"/>
      <rush att="1" yds="2" td="0" long="2"/>
      <rcv no="1" yds="3" td="0" long="3"/>
      <defense tackua="2" tacka="1" tfla="0" tflua="0" tflyds="0" sacka="0" sackua="0" sackyds="0" int="1" intyds="9" brup="0" blkd="0" ff="0" fr="0"/>
      <fg made="1" att="1" long="30" blkd="0"/>
      <punt no="1" yds="40" long="40" blkd="0" tb="0" plus50="0" inside20="1"/>
      <ko no="1" yds="60" tb="0"/>
      <kr no="1" yds="20" td="0" long="20"/>
      <pr no="1" yds="5" td="0" long="5"/>
      <ir no="1" yds="9" td="0" long="9"/>
      <fr no="1" yds="0" td="0" long="0"/>
    </player>
  </team>
  <team vh="V" name="Visitors" id="VIS" record=""><totals/>
    <player uni="1" name="Vic Tor" shortname="Tor" checkname="TOR,VIC"><rush att="1" yds="1"/></player>
    <player uni="22" name="Marco Núñez" shortname="M. Núñez" checkname="NUNEZ,MARCO"><rush att="1" yds="1"/></player>
  </team>
  <plays>
    <qtr number="1">
      <drivestart driveindex="1,1" vh="H"/>
      <play playid="1,1,1" context="H,1,10,H20" type="R" first="R" yds="12" text="Smith rush for 12 yards to the HAR32, 1ST DOWN."/>
      <play playid="1,2,2" context="H,1,10,H32" type="P" yds="7" text="Smith pass complete to Smithson for 7 yards to the HAR39 (Tor), and this play text goes on long enough that it needs more than one line of the play column to be shown in full."/>
      <play playid="1,3,3" context="H,2,3,V39" type="X" text="Timeout Harbor."/>
      <play playid="1,4,4" context="V,1,10,V25" type="P" first="E" yds="5" text="Tor pass to smithson? No: penalty on the defense."/>
      <play playid="2,1,5" context="V,1,10,V30" type="R" yds="3" text="núñez rush for 3 yards."/>
    </qtr>
  </plays>
</fbgame>)";

const char *const kHomeSeason = R"(<fbseas>
  <team name="Harbor" id="HAR"/>
  <player uni="12" name="Jon Smith" checkname="SMITH,JON">
    <pass comp="120" att="200" int="5" yds="1500" td="12" long="60" sacks="9"/>
    <rush att="30" yds="90" td="1" long="15"/>
  </player>
  <player uni="99" name="Someone Else" checkname="">
    <kr no="9" yds="99" td="9" long="99"/>
  </player>
</fbseas>)";

class PlayerDlg : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(game_.Open(dir_.Write("game.xml", kGame))) << game_.LastError();
        ASSERT_TRUE(seasonDocument_.Open(dir_.Write("season.xml", kHomeSeason)));
        teams_[0].SetSide('H');
        teams_[1].SetSide('V');
        seasons_[0].SetSide('H');
        seasons_[1].SetSide('V');
        teams_[0].LoadGame(game_);
        teams_[1].LoadGame(game_);
        seasons_[0].LoadSeason(seasonDocument_);
        owner_.resize(200, 200);
        dialog_ = std::make_unique<CPlayerDlg>(&owner_);
        dialog_->SetSources(teams_, seasons_, &game_);
    }

    void Show(int player, QSize client = QSize(600, 400))
    {
        dialog_->resize(client);
        dialog_->SetPlayer(0, player);
        dialog_->ShowPlayer();
        dialog_->show();
        QApplication::processEvents();
    }

    QString Cell(CStatGridCtrl *grid, int row, int column) const
    {
        return grid->GetItemText(row, column);
    }
    std::vector<QString> PlayColumn(int column) const
    {
        std::vector<QString> texts;
        CStatGridCtrl *plays = dialog_->PlaysGrid();
        for (int r = 0; r < plays->GetItemCount(); ++r)
            texts.push_back(plays->GetItemText(r, column));
        return texts;
    }
    std::vector<int> ShownCategories() const
    {
        std::vector<int> shown;
        for (int c = 0; c < kPlayerCategoryCount; ++c)
            if (!dialog_->CategoryGrid(c)->isHidden())
                shown.push_back(c);
        return shown;
    }

    ScratchDirectory dir_;
    CGameDocument game_;
    CXmlDocument seasonDocument_;
    std::array<CTeamStats, 2> teams_;
    std::array<CSeasonStats, 2> seasons_;
    QWidget owner_;
    std::unique_ptr<CPlayerDlg> dialog_;
};

constexpr int kPassing = 1;
constexpr int kRushing = 2;
constexpr int kKickReturns = 7;

} // namespace

TEST_F(PlayerDlg, AQuarterbackShowsPassingThenRushingWithGameAndSeasonLines)
{
    Show(0);
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Individual Player"));
    EXPECT_EQ(dialog_->TitleStatic()->text(), QStringLiteral("#12 Jon Smith"));
    EXPECT_EQ(ShownCategories(), (std::vector<int>{kPassing, kRushing}));
    CStatGridCtrl *passing = dialog_->CategoryGrid(kPassing);
    EXPECT_EQ(Cell(passing, 0, 0), QStringLiteral("GM"));
    EXPECT_EQ(Cell(passing, 1, 0), QStringLiteral("SEA"));
    EXPECT_EQ(passing->GetColumnText(2), QStringLiteral("ATT"));
    EXPECT_EQ(Cell(passing, 0, 2), QStringLiteral("20"));
    EXPECT_EQ(Cell(passing, 1, 2), QStringLiteral("200"));
    EXPECT_EQ(Cell(dialog_->CategoryGrid(kRushing), 1, 1), QStringLiteral("30"));

    // Passing at the left, Rushing beside it with no gap for the categories
    // between, inside the panel's edge.
    const QRect pass = passing->geometry();
    const QRect rush = dialog_->CategoryGrid(kRushing)->geometry();
    EXPECT_EQ(pass.topLeft(), QPoint(2, 17));
    EXPECT_EQ(rush.topLeft(), QPoint(2 + pass.width() + 10, 17));
    EXPECT_EQ(dialog_->CategoryTitle(0)->text(), QStringLiteral("Passing"));
    EXPECT_EQ(dialog_->CategoryTitle(0)->geometry(), QRect(2, 2, pass.width(), 15));
    EXPECT_EQ(dialog_->CategoryTitle(1)->text(), QStringLiteral("Rushing"));
    EXPECT_EQ(dialog_->CategoryTitle(2)->geometry(), QRect(0, 0, 0, 0)) << "unused titles";
    EXPECT_EQ(dialog_->PlaysLabel()->text(), QStringLiteral("Plays involving Jon Smith"));
}

TEST_F(PlayerDlg, ASeasonFileWithoutTheCheckNameLeavesTheSeasonLineEmpty)
{
    Show(2); // RETURNER,N is not in the season file, which has a player without a check name
    CStatGridCtrl *returns = dialog_->CategoryGrid(kKickReturns);
    EXPECT_EQ(Cell(returns, 0, 1), QStringLiteral("2"));
    for (int column = 1; column <= 4; ++column)
        EXPECT_EQ(Cell(returns, 1, column), QString()) << "column " << column;
}

TEST_F(PlayerDlg, TheDefenseTableHasItsSeparatorsInButtonFace)
{
    Show(3);
    CStatGridCtrl *defense = dialog_->CategoryGrid(0);
    ASSERT_EQ(defense->GetColumnCount(), 19);
    for (int column : {1, 5, 10, 14, 16}) {
        EXPECT_EQ(defense->GetColumnWidth(column), 6);
        EXPECT_EQ(defense->GetCellBkColor(0, column), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(Cell(defense, 0, column), QString());
    }
    EXPECT_EQ(defense->GetColumnText(4), QStringLiteral("TOT"));
    EXPECT_EQ(Cell(defense, 0, 4), QStringLiteral("3")) << "tackles, assisted plus unassisted";
    EXPECT_EQ(Cell(defense, 0, 11), QStringLiteral("1"));
    EXPECT_EQ(dialog_->CategoryGrid(4)->GetColumnWidth(5), 40) << "the PAT column";
}

TEST_F(PlayerDlg, OnAShortWindowThePanelStops135PixelsAboveTheBottomAndScrolls)
{
    Show(3, QSize(600, 400));
    const int panel = 400 - 135;
    EXPECT_EQ(dialog_->Container()->geometry(), QRect(0, 35, 600, panel));
    EXPECT_EQ(dialog_->Container()->ContentSize(), QSize(0, dialog_->ContentHeight()));
    EXPECT_GT(dialog_->ContentHeight(), panel);
    EXPECT_EQ(dialog_->PlaysLabel()->geometry(), QRect(0, panel + 45, 200, 15));
    EXPECT_EQ(dialog_->PlaysGrid()->geometry(), QRect(0, panel + 60, 600, 400 - panel - 60));

    // Scrolling the panel moves the tables up by the scrolled distance.
    const int before = dialog_->CategoryGrid(0)->y();
    dialog_->Container()->OnVScroll(SB_LINEDOWN);
    EXPECT_EQ(dialog_->CategoryGrid(0)->y(), before - CPageContainerWnd::kLineStep);

    Show(0, QSize(600, 400)); // two small tables fit without scrolling
    const int content = dialog_->ContentHeight();
    EXPECT_EQ(dialog_->Container()->geometry(),
              QRect(0, 35, 600, content + 2 * GetSystemMetrics(SM_CYEDGE)));
    EXPECT_EQ(dialog_->Container()->ContentSize(), QSize(0, 0));
}

TEST_F(PlayerDlg, ThePlaysOfJSmithAreThoseMentioningSmithAnywhere)
{
    EXPECT_EQ(PlayerContent::SurnameKey(QStringLiteral("J. Smith")), QStringLiteral("SMITH"));
    EXPECT_EQ(PlayerContent::SurnameKey(QStringLiteral("Smithson")), QStringLiteral("SMITHSON"));
    Show(0);
    // Plays 1, 2 (wrapped) and 4 ("smithson", in lower case); the timeout is not his.
    const std::vector<QString> downs = PlayColumn(0);
    ASSERT_GE(downs.size(), 4u);
    EXPECT_EQ(downs.front(), QStringLiteral("1-10"));
    EXPECT_EQ(downs.back(), QStringLiteral("1-10"));
    const std::vector<QString> texts = PlayColumn(2);
    EXPECT_TRUE(texts.back().startsWith(QStringLiteral("Tor pass to smithson?")));
    for (const QString &line : texts)
        EXPECT_FALSE(line.contains(QStringLiteral("Timeout")));
    EXPECT_EQ(PlayColumn(1).front(), QStringLiteral("HAR20"));
    EXPECT_EQ(PlayColumn(1).back(), QStringLiteral("VIS25"));
}

TEST_F(PlayerDlg, APlayerWithoutAShortNameIsInEveryPlay)
{
    Show(2);
    const std::vector<QString> texts = PlayColumn(2);
    int plays = 0;
    for (const QString &down : PlayColumn(0))
        plays += !down.isEmpty();
    EXPECT_EQ(plays, 5);
}

TEST_F(PlayerDlg, TheTypeColumnMarksRushesPassesAndFirstDowns)
{
    Show(0);
    const std::vector<QString> marks = PlayColumn(3);
    const int lastRow = static_cast<int>(marks.size()) - 1;
    EXPECT_EQ(marks.front(), QStringLiteral("R12")) << "a rushing first down";
    EXPECT_TRUE(dialog_->PlaysGrid()->IsBoldCell(0, 3)) << "drawn bold";
    EXPECT_EQ(marks[1], QStringLiteral("p7"));
    EXPECT_FALSE(dialog_->PlaysGrid()->IsBoldCell(1, 3));
    EXPECT_EQ(marks.back(), QStringLiteral("X5")) << "a first down by penalty";
    EXPECT_TRUE(dialog_->PlaysGrid()->IsBoldCell(lastRow, 3));
    EXPECT_EQ(PlayerContent::PlayTypeMark("K", "", "40"), QStringLiteral(" 40"));
    EXPECT_EQ(PlayerContent::PlayTypeMark("P", "P", ""), QStringLiteral("&P"));
}

TEST_F(PlayerDlg, ShowingFillsThePlayerAndClosingTellsTheOwner)
{
    QWidget owner;
    CPlayerDlg dialog(&owner);
    int closed = 0;
    QObject::connect(&dialog, &CPlayerDlg::playerClosed, &owner, [&closed] { ++closed; });
    dialog.SetSources(teams_, seasons_, &game_);
    dialog.SetPlayer(0, 1);
    dialog.show();
    dialog.ShowPlayer();
    EXPECT_EQ(dialog.TitleStatic()->text(), QStringLiteral("#81 Al Smithson"));
    EXPECT_GE(dialog.minimumWidth(), 492);
    EXPECT_GE(dialog.minimumHeight(), 204);

    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(closed, 1);
    dialog.reject();
    EXPECT_EQ(closed, 1) << "announced once";
}

TEST_F(PlayerDlg, EscapeClosesTheWindowFromItsTables)
{
    Show(0);
    dialog_->PlaysGrid()->setFocus();
    QTest::keyClick(dialog_->PlaysGrid(), Qt::Key_Escape);
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(PlayerDlg, TheExportDescribesTheWindowAsLaidOut)
{
    Show(0);
    const QJsonObject json =
        QJsonDocument::fromJson(PlayerJson(dialog_->Content(), dialog_->LastLayout(),
                                           dialog_->PlaysGrid()->ShownTable()))
            .object();
    EXPECT_EQ(json["title"].toString(), QStringLiteral("#12 Jon Smith"));
    EXPECT_EQ(json["plays_label"].toString(), QStringLiteral("Plays involving Jon Smith"));
    EXPECT_EQ(json["panel"]["y"].toInt(), 35);
    EXPECT_EQ(json["panel"]["content_height"].toInt(), dialog_->ContentHeight());
    EXPECT_FALSE(json["panel"]["scrolls"].toBool());
    const QJsonArray categories = json["categories"].toArray();
    ASSERT_EQ(categories.size(), 2);
    EXPECT_EQ(categories[1]["title"].toString(), QStringLiteral("Rushing"));
    EXPECT_EQ(categories[1]["title_rect"].toArray()[0].toInt(), categories[1]["x"].toInt());
    EXPECT_EQ(categories[1]["y"].toInt(), dialog_->CategoryGrid(kRushing)->y());
    const QJsonArray seasonCells = categories[0]["rows"].toArray()[1].toObject()["cells"].toArray();
    EXPECT_EQ(seasonCells[2].toObject()["text"].toString(), QStringLiteral("200"));
    EXPECT_EQ(json["plays"]["y"].toInt(), json["panel"]["h"].toInt() + 60);
}

TEST_F(PlayerDlg, SurnamesOutsideAsciiMatchInAnyCase)
{
    dialog_->resize(600, 400);
    dialog_->SetPlayer(1, 1);
    dialog_->ShowPlayer();
    EXPECT_EQ(PlayColumn(2), std::vector<QString>{QStringLiteral("núñez rush for 3 yards.")});
}
