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

TEST(ConfigureDlgTest, CancelEndsTheDialogWithoutChecking)
{
    TestConfigureDlg dlg(settingsWithGame("/nowhere/game.xml", true));
    dlg.show();
    dlg.button(CConfigureDlg::IDCANCEL)->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.messages.isEmpty());
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
    const QFont font = DialogFont();
    const QSize base = DialogBaseUnits(font);
    // Base units of an 8-point font are a few pixels, never zero or a point size.
    EXPECT_GE(base.width(), 4);
    EXPECT_LE(base.width(), 10);
    EXPECT_GE(base.height(), 9);
    EXPECT_LE(base.height(), 20);
    // The game path box (5, 15; 175x14) and its "..." button (180, 15; 10x14)
    // touch; OK (85, 120; 50x14) ends where Cancel starts, 5 units apart.
    const QRect game = dlg.edit(IDC_GAME_FILE)->geometry();
    const QRect browse = dlg.button(IDC_BROWSE_GAME_FILE)->geometry();
    EXPECT_EQ(game.topLeft(), QPoint((5 * base.width() + 2) / 4, (15 * base.height() + 4) / 8));
    EXPECT_EQ(game.x() + game.width(), browse.x());
    EXPECT_EQ(game.height(), browse.height());
    EXPECT_EQ(dlg.button(CConfigureDlg::IDCANCEL)->geometry(),
              MapDialogRect(QRect(140, 120, 50, 14), font));
    EXPECT_EQ(dlg.size(), MapDialogRect(QRect(0, 0, 195, 138), font).size());
    EXPECT_EQ(dlg.windowTitle(), "Configure");
    EXPECT_EQ(dlg.edit(IDC_GAME_FILE)->maxLength(), 260);
    EXPECT_TRUE(dlg.button(CConfigureDlg::IDOK)->isDefault());
}

} // namespace
