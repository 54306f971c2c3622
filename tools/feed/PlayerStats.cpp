#include "PlayerStats.h"

#include <algorithm>

namespace pylonix::feed
{

void ReturnStats::record(int yards, bool touchdown)
{
    longest = no == 0 ? yards : std::max(longest, yards);
    ++no;
    yds += yards;
    td += touchdown ? 1 : 0;
}

void ReturnStats::add(const ReturnStats &other)
{
    if (other.no == 0)
        return;
    longest = no == 0 ? other.longest : std::max(longest, other.longest);
    no += other.no;
    yds += other.yds;
    td += other.td;
}

void PlayerStats::recordRush(int yards, bool touchdown)
{
    rushLong = rushAtt == 0 ? yards : std::max(rushLong, yards);
    ++rushAtt;
    rushYds += yards;
    if (yards >= 0)
        rushGain += yards;
    else
        rushLoss -= yards;
    rushTd += touchdown ? 1 : 0;
}

void PlayerStats::recordReception(int yards, bool touchdown)
{
    rcvLong = rcvNo == 0 ? yards : std::max(rcvLong, yards);
    ++rcvNo;
    rcvYds += yards;
    rcvTd += touchdown ? 1 : 0;
}

void PlayerStats::recordCompletion(int yards, bool touchdown)
{
    passLong = passComp == 0 ? yards : std::max(passLong, yards);
    ++passAtt;
    ++passComp;
    passYds += yards;
    passTd += touchdown ? 1 : 0;
}

bool PlayerStats::hasDefense() const
{
    return tackUa + tackA + tflUa + tflA + sackUa + sackA + defInt + brup + defBlkd + ff + defFr >
           0;
}

void PlayerStats::add(const PlayerStats &o)
{
    const auto longer = [](int mine, bool mineSet, int theirs, bool theirsSet) {
        if (!theirsSet)
            return mine;
        return mineSet ? std::max(mine, theirs) : theirs;
    };
    passLong = longer(passLong, passComp > 0, o.passLong, o.passComp > 0);
    rushLong = longer(rushLong, rushAtt > 0, o.rushLong, o.rushAtt > 0);
    rcvLong = longer(rcvLong, rcvNo > 0, o.rcvLong, o.rcvNo > 0);
    fgLong = longer(fgLong, fgMade > 0, o.fgLong, o.fgMade > 0);
    puntLong = longer(puntLong, puntNo > 0, o.puntLong, o.puntNo > 0);

    passComp += o.passComp;
    passAtt += o.passAtt;
    passInt += o.passInt;
    passYds += o.passYds;
    passTd += o.passTd;
    passSacks += o.passSacks;
    rushAtt += o.rushAtt;
    rushYds += o.rushYds;
    rushTd += o.rushTd;
    rushGain += o.rushGain;
    rushLoss += o.rushLoss;
    rcvNo += o.rcvNo;
    rcvYds += o.rcvYds;
    rcvTd += o.rcvTd;
    tackUa += o.tackUa;
    tackA += o.tackA;
    tflUa += o.tflUa;
    tflA += o.tflA;
    tflYds += o.tflYds;
    sackUa += o.sackUa;
    sackA += o.sackA;
    sackYds += o.sackYds;
    defInt += o.defInt;
    defIntYds += o.defIntYds;
    brup += o.brup;
    defBlkd += o.defBlkd;
    ff += o.ff;
    defFr += o.defFr;
    fgMade += o.fgMade;
    fgAtt += o.fgAtt;
    fgBlkd += o.fgBlkd;
    patKickAtt += o.patKickAtt;
    patKickMade += o.patKickMade;
    puntNo += o.puntNo;
    puntYds += o.puntYds;
    puntBlkd += o.puntBlkd;
    puntTb += o.puntTb;
    puntPlus50 += o.puntPlus50;
    puntInside20 += o.puntInside20;
    koNo += o.koNo;
    koYds += o.koYds;
    koTb += o.koTb;
    kr.add(o.kr);
    pr.add(o.pr);
    ir.add(o.ir);
    fr.add(o.fr);
    fumbles += o.fumbles;
    fumblesLost += o.fumblesLost;
}

} // namespace pylonix::feed
