#include "views/PlayerCategories.h"

namespace
{

constexpr PlayerColumn kSeparator{"", {}, kSeparatorWidth};

constexpr PlayerColumn kDefense[] = {
    kSeparator,
    {"U", "Def UTack"},
    {"A", "Def ATack"},
    {"TOT", "Def TTack"},
    kSeparator,
    {"TFL", "Def TFL"},
    {"YDS", "Def TFL Yds"},
    {"SCK", "Def Sck"},
    {"YDS", "Def Sck Yds"},
    kSeparator,
    {"INT", "Def Int"},
    {"YDS", "Def Int Yds"},
    {"PBU", "Def PBU"},
    kSeparator,
    {"BLK", "Def Blk"},
    kSeparator,
    {"FF", "Def FF"},
    {"FR", "Def FR"},
};
constexpr PlayerColumn kPassing[] = {
    {"CMP", "Pass Cmp"}, {"ATT", "Pass Att"}, {"INT", "Pass Int"}, {"YDS", "Pass Yds"},
    {"TD", "Pass TD"},   {"LNG", "Pass Lng"}, {"SCK", "Pass Sck"},
};
constexpr PlayerColumn kRushing[] = {
    {"ATT", "Rush Att"}, {"YDS", "Rush Yds"}, {"TD", "Rush TD"},
    {"LNG", "Rush Lng"}, {"AVG", "Rush Avg"},
};
constexpr PlayerColumn kReceiving[] = {
    {"REC", "Rcv No"}, {"YDS", "Rcv Yds"}, {"TD", "Rcv TD"}, {"LNG", "Rcv Lng"}, {"AVG", "Rcv Avg"},
};
constexpr PlayerColumn kFieldGoals[] = {
    {"MADE", "FG Made", 34}, {"ATT", "FG Att"},     {"LNG", "FG Lng"},
    {"BLKD", "FG Blkd"},     {"PAT", "FG PAT", 40},
};
constexpr PlayerColumn kPunting[] = {
    {"#", "Punt No"},  {"YDS", "Punt Yds"}, {"LNG", "Punt Lng"},   {"BLKD", "Punt Blkd"},
    {"TB", "Punt TB"}, {"+50", "Punt +50"}, {"IN20", "Punt In20"},
};
constexpr PlayerColumn kKickoffs[] = {{"#", "KO No"}, {"YDS", "KO Yds"}, {"TB", "KO TB"}};
constexpr PlayerColumn kKickReturns[] = {
    {"#", "KR No"}, {"YDS", "KR Yds"}, {"TD", "KR TD"}, {"LNG", "KR Lng"}};
constexpr PlayerColumn kPuntReturns[] = {
    {"#", "PR No"}, {"YDS", "PR Yds"}, {"TD", "PR TD"}, {"LNG", "PR Lng"}};
constexpr PlayerColumn kIntReturns[] = {
    {"#", "IR No"}, {"YDS", "IR Yds"}, {"TD", "IR TD"}, {"LNG", "IR Lng"}};
constexpr PlayerColumn kFumbleReturns[] = {
    {"#", "FR No"}, {"YDS", "FR Yds"}, {"TD", "FR TD"}, {"LNG", "FR Lng"}};

} // namespace

const std::array<PlayerCategory, kPlayerCategoryCount> &PlayerCategories()
{
    static const std::array<PlayerCategory, kPlayerCategoryCount> categories{{
        {"Defense", "Def Has", kDefense},
        {"Passing", "Pass Att", kPassing},
        {"Rushing", "Rush Att", kRushing},
        {"Receiving", "Rcv No", kReceiving},
        {"Field Goals", "FG Att", kFieldGoals},
        {"Punting", "Punt No", kPunting},
        {"Kickoffs", "KO No", kKickoffs},
        {"Kick Returns", "KR No", kKickReturns},
        {"Punt Returns", "PR No", kPuntReturns},
        {"Int Returns", "IR No", kIntReturns},
        {"Fumble Returns", "FR No", kFumbleReturns},
    }};
    return categories;
}
