#include "StatElements.h"

#include <cstdio>

namespace pylonix::feed
{

namespace
{

std::string n(int value)
{
    return std::to_string(value);
}

void writeReturn(XmlWriter &xml, const char *name, const ReturnStats &r)
{
    if (r.no > 0)
        xml.element(name,
                    {{"no", n(r.no)}, {"yds", n(r.yds)}, {"td", n(r.td)}, {"long", n(r.longest)}});
}

} // namespace

std::string StatElements::minutesText(int seconds)
{
    char text[24];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

void StatElements::writePlayer(XmlWriter &xml, const PlayerStats &s)
{
    if (s.hasPass())
        xml.element("pass", {{"comp", n(s.passComp)},
                             {"att", n(s.passAtt)},
                             {"int", n(s.passInt)},
                             {"yds", n(s.passYds)},
                             {"td", n(s.passTd)},
                             {"long", n(s.passLong)},
                             {"sacks", n(s.passSacks)}});
    if (s.hasRush())
        xml.element("rush", {{"att", n(s.rushAtt)},
                             {"yds", n(s.rushYds)},
                             {"gain", n(s.rushGain)},
                             {"loss", n(s.rushLoss)},
                             {"td", n(s.rushTd)},
                             {"long", n(s.rushLong)}});
    if (s.hasReceiving())
        xml.element(
            "rcv",
            {{"no", n(s.rcvNo)}, {"yds", n(s.rcvYds)}, {"td", n(s.rcvTd)}, {"long", n(s.rcvLong)}});
    if (s.hasDefense())
        xml.element("defense", {{"tackua", n(s.tackUa)},
                                {"tacka", n(s.tackA)},
                                {"tflua", n(s.tflUa)},
                                {"tfla", n(s.tflA)},
                                {"tflyds", n(s.tflYds)},
                                {"sackua", n(s.sackUa)},
                                {"sacka", n(s.sackA)},
                                {"sackyds", n(s.sackYds)},
                                {"int", n(s.defInt)},
                                {"intyds", n(s.defIntYds)},
                                {"brup", n(s.brup)},
                                {"blkd", n(s.defBlkd)},
                                {"ff", n(s.ff)},
                                {"fr", n(s.defFr)}});
    if (s.hasFieldGoals())
        xml.element("fg", {{"made", n(s.fgMade)},
                           {"att", n(s.fgAtt)},
                           {"long", n(s.fgLong)},
                           {"blkd", n(s.fgBlkd)}});
    if (s.hasPat())
        xml.element("pat", {{"kickatt", n(s.patKickAtt)}, {"kickmade", n(s.patKickMade)}});
    if (s.hasPunts())
        xml.element("punt", {{"no", n(s.puntNo)},
                             {"yds", n(s.puntYds)},
                             {"long", n(s.puntLong)},
                             {"blkd", n(s.puntBlkd)},
                             {"tb", n(s.puntTb)},
                             {"plus50", n(s.puntPlus50)},
                             {"inside20", n(s.puntInside20)}});
    if (s.hasKickoffs())
        xml.element("ko", {{"no", n(s.koNo)}, {"yds", n(s.koYds)}, {"tb", n(s.koTb)}});
    writeReturn(xml, "kr", s.kr);
    writeReturn(xml, "pr", s.pr);
    writeReturn(xml, "ir", s.ir);
    writeReturn(xml, "fr", s.fr);
    if (s.hasFumbles())
        xml.element("fumbles", {{"no", n(s.fumbles)}, {"lost", n(s.fumblesLost)}});
}

void StatElements::writeTotals(XmlWriter &xml, const TeamTotals &t)
{
    xml.open("totals");
    xml.element("firstdowns", {{"no", n(t.firstDowns())},
                               {"rush", n(t.firstDownsRush)},
                               {"pass", n(t.firstDownsPass)},
                               {"penalty", n(t.firstDownsPenalty)}});
    xml.element("penalties", {{"no", n(t.penalties)}, {"yds", n(t.penaltyYds)}});
    xml.element("conversions", {{"thirdconv", n(t.thirdConv)},
                                {"thirdatt", n(t.thirdAtt)},
                                {"fourthconv", n(t.fourthConv)},
                                {"fourthatt", n(t.fourthAtt)}});
    xml.element("fumbles", {{"no", n(t.fumbles)}, {"lost", n(t.fumblesLost)}});
    xml.element("misc", {{"top", minutesText(t.possessionSeconds)}});
    xml.element("rush", {{"att", n(t.rushAtt)},
                         {"yds", n(t.rushYds)},
                         {"gain", n(t.rushGain)},
                         {"loss", n(t.rushLoss)}});
    xml.element("pass", {{"comp", n(t.passComp)},
                         {"att", n(t.passAtt)},
                         {"int", n(t.passInt)},
                         {"yds", n(t.passYds)}});
    xml.element("punt", {{"no", n(t.puntNo)}, {"yds", n(t.puntYds)}});
    xml.element("kr", {{"no", n(t.kr.no)}, {"yds", n(t.kr.yds)}});
    xml.element("pr", {{"no", n(t.pr.no)}, {"yds", n(t.pr.yds)}});
    xml.element("ir", {{"no", n(t.ir.no)}, {"yds", n(t.ir.yds)}});
    xml.element("fr", {{"no", n(t.fr.no)}, {"yds", n(t.fr.yds)}});
    xml.element("defense", {{"sacks", n(t.sacks)}, {"sackyds", n(t.sackYds)}});
    xml.close("totals");
}

} // namespace pylonix::feed
