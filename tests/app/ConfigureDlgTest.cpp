#include "app/CConfigureDlg.h"

#include "../support/ScratchDirectory.h"
#include "platform/ControlIds.h"
#include "platform/DialogUnits.h"
#include "platform/Fonts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

namespace
{

// The dialog with its Open dialog and message box replaced: browsing returns
// the queued answers (nothing = Cancel) and records where it started; message
// boxes are recorded.
class TestConfigureDlg : public CConfigureDlg
{
public:
    using CConfigureDlg::CConfigureDlg;

    std::deque<std::optional<QString>> answers;
    QStringList browseStarts;
    QStringList messages;

    QLineEdit *edit(int id) const { return qobject_cast<QLineEdit *>(GetDlgItem(this, id)); }
    QPushButton *button(int id) const { return qobject_cast<QPushButton *>(GetDlgItem(this, id)); }
    QString text(int id) const { return edit(id)->text(); }
    bool seasonControlsEnabled(bool expected) const
    {
        for (int id :
             {IDC_HOME_FILE, IDC_VISITOR_FILE, IDC_BROWSE_HOME_FILE, IDC_BROWSE_VISITOR_FILE}) {
            if (GetDlgItem(this, id)->isEnabled() != expected)
                return false;
        }
        return true;
    }

protected:
    std::optional<QString> BrowseForFile(const QString &startPath) override
    {
        browseStarts << startPath;
        std::optional<QString> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
    void ShowExclamation(const QString &text, const QString &caption) override
    {
        messages << caption + ": " + text;
    }
};

Settings settingsWithGame(const std::string &game, bool defaultTeamFiles)
{
    Settings settings;
    settings.gameFile = game;
    settings.homeFile = "/old/home.xml";
    settings.visitorFile = "/old/visitor.xml";
    settings.defaultTeamFiles = defaultTeamFiles;
    return settings;
}

TEST(ConfigureDlgTest, DefaultTeamFilesFollowTheGameFileFolder)
{
    TestConfigureDlg dlg(settingsWithGame("/srv/games/week3/game.xml", true));
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/srv/games/week3/home.xml");
    EXPECT_EQ(dlg.text(IDC_VISITOR_FILE), "/srv/games/week3/visitor.xml");
    EXPECT_TRUE(dlg.seasonControlsEnabled(false));
    EXPECT_EQ(dlg.button(CConfigureDlg::IDC_TEAM_FILES)->text(), "Custom team files");

    // They follow the game path as it is typed.
    QLineEdit *game = dlg.edit(IDC_GAME_FILE);
    game->clear();
    QTest::keyClicks(game, "/data/g");
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/data/home.xml");
    QTest::keyClicks(game, "/x.xml");
    EXPECT_EQ(dlg.text(IDC_VISITOR_FILE), "/data/g/visitor.xml");

    // A game path without a folder gives bare file names.
    game->setText("game.xml");
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "home.xml");
    EXPECT_EQ(dlg.text(IDC_VISITOR_FILE), "visitor.xml");
    EXPECT_EQ(CConfigureDlg::DefaultTeamFilePaths("/game.xml").first, "/home.xml");
    EXPECT_EQ(CConfigureDlg::DefaultTeamFilePaths("").second, "visitor.xml");
}

TEST(ConfigureDlgTest, CustomModeKeepsTheSeasonPathsAndEnablesThem)
{
    TestConfigureDlg dlg(settingsWithGame("/srv/week3/game.xml", false));
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/old/home.xml");
    EXPECT_TRUE(dlg.seasonControlsEnabled(true));
    QPushButton *toggle = dlg.button(CConfigureDlg::IDC_TEAM_FILES);
    EXPECT_EQ(toggle->text(), "Default team files");

    dlg.edit(IDC_GAME_FILE)->setText("/srv/week4/game.xml");
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/old/home.xml");

    toggle->click(); // to default mode: derived from the game path as it stands
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/srv/week4/home.xml");
    EXPECT_TRUE(dlg.seasonControlsEnabled(false));
    EXPECT_EQ(toggle->text(), "Custom team files");

    toggle->click(); // back: the last derived paths stay, now editable
    EXPECT_EQ(toggle->text(), "Default team files");
    EXPECT_TRUE(dlg.seasonControlsEnabled(true));
    EXPECT_EQ(dlg.text(IDC_VISITOR_FILE), "/srv/week4/visitor.xml");
    dlg.edit(IDC_HOME_FILE)->setText("/mine/home.xml");
    dlg.edit(IDC_GAME_FILE)->setText("/elsewhere/game.xml");
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/mine/home.xml");
    EXPECT_FALSE(dlg.Values().defaultTeamFiles);
}

TEST(ConfigureDlgTest, OkWithAGameFileThatCannotBeOpenedStaysOpen)
{
    ScratchDirectory dir;
    TestConfigureDlg dlg(settingsWithGame("", true));
    dlg.show();
    QPushButton *ok = dlg.button(CConfigureDlg::IDOK);
    ok->click(); // empty path
    dlg.edit(IDC_GAME_FILE)->setText(QString::fromStdString(dir.PathOf("missing.xml")));
    ok->click();
    dlg.edit(IDC_GAME_FILE)->setText(QString::fromStdString(dir.Path().string())); // a folder
    ok->click();
    const QString expected = "File not found: The Game File could not be opened.";
    EXPECT_EQ(dlg.messages, QStringList({expected, expected, expected}));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST(ConfigureDlgTest, OkWithAReadableGameFileReturnsTheEditedValues)
{
    ScratchDirectory dir;
    const std::string game = dir.Write("game.xml", "<fbgame/>");
    TestConfigureDlg dlg(settingsWithGame("/old/game.xml", true));
    dlg.show();
    dlg.edit(IDC_GAME_FILE)->setText(QString::fromStdString(game));
    qobject_cast<QCheckBox *>(GetDlgItem(&dlg, IDC_SHOW_TOP))->setChecked(false);
    dlg.button(CConfigureDlg::IDOK)->click();
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    Settings expected;
    expected.gameFile = game;
    expected.homeFile = dir.PathOf("home.xml");
    expected.visitorFile = dir.PathOf("visitor.xml");
    expected.defaultTeamFiles = true;
    expected.showTOP = false;
    EXPECT_EQ(dlg.Values(), expected);
}

TEST(ConfigureDlgTest, BrowsingStartsAtThePathAndShowsTheChosenFile)
{
    TestConfigureDlg dlg(settingsWithGame("/srv/week3/game.xml", false));
    // The home file starts at what the box holds now.
    dlg.edit(IDC_HOME_FILE)->setText("/typed/home.xml");
    dlg.answers = {QString("/chosen/h.xml"), std::nullopt};
    dlg.button(IDC_BROWSE_HOME_FILE)->click();
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/chosen/h.xml");
    dlg.button(IDC_BROWSE_VISITOR_FILE)->click(); // cancelled: nothing changes
    EXPECT_EQ(dlg.text(IDC_VISITOR_FILE), "/old/visitor.xml");

    // The game file starts at the path as last read from the controls, and a
    // choice in default mode moves the season paths with it.
    dlg.button(CConfigureDlg::IDC_TEAM_FILES)->click();
    dlg.answers = {QString("/picked/game.xml")};
    dlg.button(IDC_BROWSE_GAME_FILE)->click();
    EXPECT_EQ(dlg.browseStarts,
              QStringList({"/typed/home.xml", "/old/visitor.xml", "/srv/week3/game.xml"}));
    EXPECT_EQ(dlg.text(IDC_GAME_FILE), "/picked/game.xml");
    EXPECT_EQ(dlg.text(IDC_HOME_FILE), "/picked/home.xml");
    EXPECT_EQ(dlg.text(IDC_VISITOR_FILE), "/picked/visitor.xml");
}

TEST(ConfigureDlgTest, ControlsSitAtTheirDialogUnitPositions)
{
    TestConfigureDlg dlg(settingsWithGame("", true));
    // x in quarters of the average letter width, y in eighths of the height,
    // rounded: the game path box at (5, 15) units; its "..." button (180, 15)
    // touches it.
    const QSize base = kClassicDialogBaseUnits;
    const QRect game = dlg.edit(IDC_GAME_FILE)->geometry();
    EXPECT_EQ(game.topLeft(), QPoint((5 * base.width() + 2) / 4, (15 * base.height() + 4) / 8));
    EXPECT_EQ(game.x() + game.width(), dlg.button(IDC_BROWSE_GAME_FILE)->x());
    EXPECT_EQ(dlg.width(), (195 * base.width() + 2) / 4);
    EXPECT_EQ(dlg.edit(IDC_GAME_FILE)->maxLength(), 260);
}

} // namespace
