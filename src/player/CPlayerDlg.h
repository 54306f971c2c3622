#pragma once

#include "player/PlayerLayout.h"
#include "views/PlayerContent.h"

#include <QDialog>
#include <QFont>
#include <array>
#include <span>

class CGameDocument;
class CPageContainerWnd;
class CSeasonStats;
class CStatGridCtrl;
class CTeamStats;
class GameSession;
class QLabel;

// The "Individual Player" window: a modeless, resizable tool window showing
// one player of the game. Under his name, one small table per category he
// took part in (a game line "GM" and a season line "SEA") in a scrolling
// panel; under the panel, every play whose text names him.
//
// The owner sets the model and the player, then calls ShowPlayer; it calls
// ShowPlayer again after every reload (a slot, for the game's reloaded
// signal). The window shows the values of the view model (Content) where
// the layout (LastLayout) puts them. When it closes (close box, Enter or
// Escape) it hides and announces playerClosed, on which its owner deletes it
// (through a queued connection).
class CPlayerDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CPlayerDlg(QWidget *owner = nullptr);
    ~CPlayerDlg() override;

    // The owner's game teams (0 home, 1 visitor), season teams and game
    // document; borrowed, they must outlive the window.
    void SetSources(std::span<const CTeamStats, 2> gameTeams,
                    std::span<const CSeasonStats, 2> seasonTeams,
                    const CGameDocument *gameDocument);
    void SetSession(const GameSession &session);
    // The player shown: his team (0 home, 1 visitor) and his index in that team.
    void SetPlayer(int teamIndex, int playerIndex);
    int TeamIndex() const { return teamIndex_; }
    int PlayerIndex() const { return playerIndex_; }

public slots:
    // Fills the title, the category tables and the plays for the current
    // player, then lays out. Nothing happens before the sources are set.
    void ShowPlayer();

public:
    // Places the tables, their titles, the panel and the plays list for the
    // current client size and panel scroll position.
    void Layout();

    // The parts of the window, for the owner's export and for checks.
    QLabel *TitleStatic() const { return titleStatic_; }
    QLabel *HeadingStatic() const { return headingStatic_; }
    QLabel *PlaysLabel() const { return playsLabel_; }
    CPageContainerWnd *Container() const { return container_; }
    CStatGridCtrl *CategoryGrid(int category) const { return categoryGrids_.at(category); }
    QLabel *CategoryTitle(int slot) const { return categoryTitles_.at(slot); }
    CStatGridCtrl *PlaysGrid() const { return playsGrid_; }
    // Whether category `category` is shown for the current player.
    bool IsCategoryShown(int category) const;
    // The content height of the panel at the last layout, scrolling or not.
    int ContentHeight() const { return layout_.contentHeight; }

    // What the window shows, as the last ShowPlayer built it.
    const PlayerContent &Content() const { return content_; }
    // Where the last layout put it.
    const PlayerLayout &LastLayout() const { return layout_; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

public slots:
    void done(int result) override;

signals:
    // The window was closed; announced once.
    void playerClosed();

private:
    // Fits the plays list's columns to the list's width at the window's size.
    void FitPlays(StatTable &plays) const;

    QSize naturalSize(const CStatGridCtrl &table) const;

    const CTeamStats *gameTeams_ = nullptr;       // two, borrowed
    const CSeasonStats *seasonTeams_ = nullptr;   // two, borrowed
    const CGameDocument *gameDocument_ = nullptr; // borrowed
    int teamIndex_ = 0;
    int playerIndex_ = 0;
    bool closed_ = false;
    PlayerContent content_;
    PlayerLayout layout_;

    QFont boldFont_;
    QLabel *titleStatic_ = nullptr;
    CPageContainerWnd *container_ = nullptr;
    std::array<CStatGridCtrl *, kPlayerCategoryCount> categoryGrids_{};
    CStatGridCtrl *playsGrid_ = nullptr;
    QLabel *headingStatic_ = nullptr;
    QLabel *playsLabel_ = nullptr;
    std::array<QLabel *, kPlayerCategoryCount> categoryTitles_{};
};
