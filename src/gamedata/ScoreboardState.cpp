#include "ScoreboardState.h"

#include "CGameDocument.h"
#include "PlayContext.h"
#include "TextNumbers.h"

using TextNumbers::LeadingInt;

void ScoreboardState::Read(const CGameDocument &document)
{
    const std::string clock = document.GetText("/fbgame/plays/downtogo/@clock");
    if (clock.size() == 5) {
        minutes = LeadingInt(clock.substr(0, 2));
        seconds = LeadingInt(clock.substr(3, 2));
    } else {
        minutes = 0;
        seconds = 0;
    }

    const PlayContext context =
        PlayContext::Parse(document.GetText("/fbgame/plays/downtogo/@context"));
    if (context.fieldsRead >= 1)
        homeHasBall = context.offense == 'H' ? 1 : 0;
    if (context.fieldsRead >= 2)
        down = context.down;
    if (context.fieldsRead >= 3)
        toGo = context.toGo;
    if (context.fieldsRead >= 5)
        ballOn = context.yard;

    quarters = LeadingInt(document.GetText("/fbgame/venue/rules/@qtrs"));
    quarter = LeadingInt(document.GetText("/fbgame/plays/downtogo/@qtr"));
    homeScore = LeadingInt(document.GetText("/fbgame/team[@vh='H']/linescore/@score"));
    visitorScore = LeadingInt(document.GetText("/fbgame/team[@vh='V']/linescore/@score"));
    final = IsFinal(document) ? 1 : 0;
}

bool ScoreboardState::IsFinal(const CGameDocument &document)
{
    if (document.GetText("/fbgame/plays/qtr/score/@final") == "Y")
        return true;
    const auto holdsValue = [&](std::string_view xpath) {
        return document.GetText(xpath).find_first_not_of(" \t\r\n") != std::string::npos;
    };
    return holdsValue("/fbgame/venue/@end") && holdsValue("/fbgame/venue/@duration");
}
