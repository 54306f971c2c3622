#pragma once

#include "CStatGridCtrl.h"
#include "views/StatColumnSets.h"

// A table with one row per player of a team, its columns given by a column
// set: the passing, rushing, receiving, defense and special-teams tables. It
// shows the value BuildPlayerStatTable makes; row data is the player's index
// in the team, -1 on the "None" row of a table without players.
class CPlayerStatGrid : public CStatGridCtrl
{
    Q_OBJECT

public:
    CPlayerStatGrid(const StatTableLayout &layout, QWidget *parent = nullptr, int id = 0);

    // The columns of the set; makes the table sortable.
    void SetupColumns() override;

    const StatTableLayout &layout() const { return layout_; }
    // The team whose players the table shows (0 home, 1 visitor).
    void SetTeam(int team) { team_ = team; }
    int team() const { return team_; }

signals:
    // A player's row was double-clicked: his team and his index in it.
    void playerActivated(int team, int index);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    const StatTableLayout &layout_;
    int team_ = 0;
};

// The tables of the Offense page.
class CPassingGrid : public CPlayerStatGrid
{
public:
    explicit CPassingGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kPassing, parent, id)
    {
    }
};

class CRushingGrid : public CPlayerStatGrid
{
public:
    explicit CRushingGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kRushing, parent, id)
    {
    }
};

class CReceivingGrid : public CPlayerStatGrid
{
public:
    explicit CReceivingGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kReceiving, parent, id)
    {
    }
};

// The table of the Defense page.
class CDefenseGrid : public CPlayerStatGrid
{
public:
    explicit CDefenseGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kDefense, parent, id)
    {
    }
};

// The tables of the Special Teams page.
class CFieldGoalGrid : public CPlayerStatGrid
{
public:
    explicit CFieldGoalGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kFieldGoals, parent, id)
    {
    }
};

class CPuntingGrid : public CPlayerStatGrid
{
public:
    explicit CPuntingGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kPunting, parent, id)
    {
    }
};

class CKickoffGrid : public CPlayerStatGrid
{
public:
    explicit CKickoffGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kKickoffs, parent, id)
    {
    }
};

class CKickReturnGrid : public CPlayerStatGrid
{
public:
    explicit CKickReturnGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kKickReturns, parent, id)
    {
    }
};

class CPuntReturnGrid : public CPlayerStatGrid
{
public:
    explicit CPuntReturnGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kPuntReturns, parent, id)
    {
    }
};

class CIntReturnGrid : public CPlayerStatGrid
{
public:
    explicit CIntReturnGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kIntReturns, parent, id)
    {
    }
};

class CFumbleReturnGrid : public CPlayerStatGrid
{
public:
    explicit CFumbleReturnGrid(QWidget *parent = nullptr, int id = 0)
        : CPlayerStatGrid(StatColumnSets::kFumbleReturns, parent, id)
    {
    }
};
