#include "TeamTotals.h"

namespace pylonix::feed
{

void TeamTotals::addPlayer(const PlayerStats &s)
{
    rushAtt += s.rushAtt;
    rushYds += s.rushYds;
    rushGain += s.rushGain;
    rushLoss += s.rushLoss;
    passAtt += s.passAtt;
    passComp += s.passComp;
    passInt += s.passInt;
    passYds += s.passYds;
    fumbles += s.fumbles;
    fumblesLost += s.fumblesLost;
    puntNo += s.puntNo;
    puntYds += s.puntYds;
    pr.add(s.pr);
    kr.add(s.kr);
    ir.add(s.ir);
    fr.add(s.fr);
    sacks += s.sackUa;
    sackYds += s.sackYds;
}

void TeamTotals::add(const TeamTotals &o)
{
    firstDownsRush += o.firstDownsRush;
    firstDownsPass += o.firstDownsPass;
    firstDownsPenalty += o.firstDownsPenalty;
    rushAtt += o.rushAtt;
    rushYds += o.rushYds;
    rushGain += o.rushGain;
    rushLoss += o.rushLoss;
    passAtt += o.passAtt;
    passComp += o.passComp;
    passInt += o.passInt;
    passYds += o.passYds;
    fumbles += o.fumbles;
    fumblesLost += o.fumblesLost;
    penalties += o.penalties;
    penaltyYds += o.penaltyYds;
    puntNo += o.puntNo;
    puntYds += o.puntYds;
    pr.add(o.pr);
    kr.add(o.kr);
    ir.add(o.ir);
    fr.add(o.fr);
    sacks += o.sacks;
    sackYds += o.sackYds;
    thirdConv += o.thirdConv;
    thirdAtt += o.thirdAtt;
    fourthConv += o.fourthConv;
    fourthAtt += o.fourthAtt;
    possessionSeconds += o.possessionSeconds;
}

} // namespace pylonix::feed
