#include "HeaderState.h"

#include "ReferencedText.h"
#include "ScoreboardDigits.h"
#include "gamedata/GameSession.h"

HeaderState HeaderState::FromSession(const GameSession &session, int page, bool playsMode)
{
    HeaderState state;
    state.scoreboard = ScoreboardForDrawing(session.scoreboard());
    state.page = page;
    state.playsMode = playsMode;
    state.homeShortName = ReferencedText(session.team(0).GetTeamValue("Short Name"));
    state.visitorShortName = ReferencedText(session.team(1).GetTeamValue("Short Name"));
    return state;
}
