#include "PlayLine.h"

#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"

std::vector<PlayLine> PlayLine::Build(const GameSession &session)
{
    const GamePlays &game = session.plays();
    const std::vector<PlayYards> &yards = session.playYards();
    std::vector<PlayLine> lines;
    lines.reserve(game.plays.size());
    for (std::size_t i = 0; i < game.plays.size(); ++i) {
        const PlayRecord &play = game.plays[i];
        PlayLine line;
        line.quarter = QString::fromStdString(play.quarter);
        line.clock = QString::fromStdString(play.clock);
        if (play.context.fieldsRead >= 1 &&
            (play.context.offense == 'H' || play.context.offense == 'V'))
            line.team = play.context.offense == 'H' ? 0 : 1;
        line.drive = play.drive.value_or(0);
        line.downDistance =
            QString::fromStdString(GameSituation::DownDistance(play.context, game.fieldLength));
        line.spot = QString::fromStdString(
            GameSituation::BallOn(play.context, game.fieldLength, session.teams()));
        line.text = QString::fromStdString(play.text);
        // As the play-by-play shows them: the file's own, else what the text
        // or the next spot tells of a rush or a pass; other plays without
        // any (kicks, timeouts, penalties) "0".
        if (play.yds)
            line.yards = QString::fromStdString(*play.yds);
        else if (IsRushOrPass(play.type, play.text))
            line.yards = i < yards.size() ? QString::fromStdString(yards[i].Text()) : QString();
        else
            line.yards = QStringLiteral("0");
        if (play.first == "R" || play.first == "P")
            line.code = QString::fromStdString(play.first);
        else if (play.first == "E")
            line.code = QStringLiteral("X");
        else if (play.type == "R" || play.type == "P")
            line.code = QString::fromStdString(play.type).toLower();
        lines.push_back(std::move(line));
    }
    return lines;
}
