#include "RosterFactory.h"

#include "Random.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace pylonix::feed
{

namespace
{

constexpr std::array<std::string_view, 48> firstNames = {
    "Jalen",    "Marcus",  "Tavion", "Caleb",  "Owen",   "Dorian",  "Elijah",  "Bryce",
    "Kendrick", "Nolan",   "Isaiah", "Reggie", "Trent",  "Malik",   "Graham",  "Desmond",
    "Julian",   "Cody",    "Xavier", "Landon", "Micah",  "Terrell", "Quinton", "Brady",
    "Damon",    "Emmett",  "Hollis", "Jerome", "Keenan", "Lucas",   "Mason",   "Nathan",
    "Oscar",    "Preston", "Rashad", "Silas",  "Tobias", "Victor",  "Wesley",  "Zane",
    "Andre",    "Beau",    "Cyrus",  "Dante",  "Felix",  "Grady",   "Harlan",  "Ivan"};

constexpr std::array<std::string_view, 120> lastNames = {
    "Okafor",     "Brandt",    "Whitlock",   "Castellano", "Mbeki",      "Thornbury",  "Vance",
    "Ashworth",   "Delacroix", "Fenwick",    "Gallardo",   "Hargrove",   "Ibarra",     "Jessup",
    "Kowalczyk",  "Lindqvist", "Marchetti",  "Nakamura",   "Oyelaran",   "Pettigrew",  "Quintero",
    "Rourke",     "Stanfield", "Trevino",    "Underhill",  "Valdes",     "Winslow",    "Yarbrough",
    "Zeller",     "Abernathy", "Blackwood",  "Corrigan",   "Dunleavy",   "Ellingson",  "Farrow",
    "Galloway",   "Holloway",  "Iverson",    "Jaramillo",  "Kincaid",    "Lockhart",   "Mercer",
    "Northcutt",  "Ostrander", "Prescott",   "Radcliffe",  "Sorensen",   "Tolliver",   "Upshaw",
    "Vickery",    "Wakefield", "Yost",       "Amadi",      "Bellamy",    "Crenshaw",   "Draper",
    "Eastwood",   "Fairbanks", "Gentry",     "Hightower",  "Ingram",     "Jefferson",  "Kessler",
    "Langley",    "Maddox",    "Nettles",    "Orozco",     "Pryor",      "Quarles",    "Redding",
    "Sampson",    "Tidwell",   "Ulrich",     "Vasquez",    "Whitfield",  "Yancey",     "Albright",
    "Boateng",    "Calloway",  "Dempsey",    "Esposito",   "Fleming",    "Garrity",    "Hensley",
    "Irwin",      "Jurado",    "Keller",     "Lamont",     "Mayweather", "Nyberg",     "Ochoa",
    "Pruitt",     "Rasmussen", "Strickland", "Thackeray",  "Ulloa",      "Villanueva", "Whitmore",
    "Youngblood", "Adebayo",   "Birchfield", "Coltrane",   "Driscoll",   "Espinoza",   "Fontaine",
    "Gustafson",  "Hollister", "Ivey",       "Jennings",   "Kettering",  "Lowry",      "Montague",
    "Nash",       "Oakes",     "Pendleton",  "Rios",       "Sutter",     "Tate",       "Voss",
    "Wexler"};

struct Group {
    Position position;
    int count;
};

// Depth chart of one team at scale 1 (52 players).
constexpr std::array<Group, 10> groups = {{{Position::Quarterback, 3},
                                           {Position::RunningBack, 4},
                                           {Position::Receiver, 7},
                                           {Position::TightEnd, 3},
                                           {Position::Lineman, 9},
                                           {Position::DefensiveLine, 8},
                                           {Position::Linebacker, 7},
                                           {Position::DefensiveBack, 9},
                                           {Position::Kicker, 1},
                                           {Position::Punter, 1}}};

std::string upper(std::string_view text)
{
    std::string result(text);
    for (char &c : result) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

Player makePlayer(std::string_view first, std::string_view last, std::string uni, Position position)
{
    Player player;
    player.uni = std::move(uni);
    player.name = std::string(first) + " " + std::string(last);
    player.shortName = std::string(first.substr(0, 1)) + ". " + std::string(last);
    player.checkName = upper(last) + "," + upper(first);
    player.position = position;
    return player;
}

} // namespace

Team RosterFactory::home() const
{
    return build('H', 0x4B424D);
}

Team RosterFactory::visitor() const
{
    return build('V', 0x414D57);
}

Team RosterFactory::build(char side, std::uint64_t rosterSeed) const
{
    Random random(rosterSeed);
    // Both teams draw from one shuffled pool, home from its first half and the
    // visitor from its second, so no surname appears on both sides.
    Random pool(0x5355524E);
    std::vector<int> surnames(lastNames.size());
    for (std::size_t i = 0; i < surnames.size(); ++i)
        surnames[i] = static_cast<int>(i);
    for (std::size_t i = surnames.size(); i > 1; --i)
        std::swap(surnames[i - 1],
                  surnames[static_cast<std::size_t>(pool.below(static_cast<int>(i)))]);
    const std::size_t half = surnames.size() / 2;
    const std::size_t firstSurname = side == 'H' ? 0 : half;

    std::set<int> usedNumbers;
    int overflowNumber = 100;
    const auto number = [&](Position position) {
        int low = 1;
        int high = 49;
        switch (position) {
        case Position::Quarterback:
            high = 19;
            break;
        case Position::RunningBack:
            low = 20;
            break;
        case Position::Receiver:
        case Position::TightEnd:
            low = 80;
            high = 89;
            break;
        case Position::Lineman:
            low = 50;
            high = 79;
            break;
        case Position::DefensiveLine:
            low = 90;
            high = 99;
            break;
        case Position::Linebacker:
            low = 30;
            high = 59;
            break;
        default:
            break;
        }
        for (int attempt = 0; attempt < 200; ++attempt) {
            const int candidate = attempt < 40 ? random.between(low, high) : random.between(1, 99);
            if (usedNumbers.insert(candidate).second)
                return std::to_string(candidate);
        }
        return std::to_string(overflowNumber++);
    };

    std::vector<Player> players;
    std::size_t next = 0;
    for (const Group &group : groups) {
        for (int i = 0; i < group.count * scale_; ++i, ++next) {
            const std::string_view first = firstNames[static_cast<std::size_t>(
                random.below(static_cast<int>(firstNames.size())))];
            // Surnames stay unique within a team as long as its half of the pool
            // lasts, so a search by surname finds one player.
            const std::string_view last =
                lastNames[static_cast<std::size_t>(surnames[firstSurname + next % half])];
            players.push_back(makePlayer(first, last, number(group.position), group.position));
        }
    }
    if (side == 'H') {
        // The home team's lead back carries a name outside ASCII, so that
        // escaping and encodings are exercised on every page that shows him.
        const std::vector<int> backs =
            Team(side, "", "", "", players).playersAt(Position::RunningBack);
        Player &back = players[static_cast<std::size_t>(backs.front())];
        back = makePlayer("Mateo",
                          "Pe\xC3\xB1"
                          "alosa",
                          back.uni, Position::RunningBack);
        back.checkName = "PE\xC3\x91"
                         "ALOSA,MATEO";
    }
    Player team;
    team.uni = "TM";
    team.name = "TEAM";
    team.shortName = "TEAM";
    team.checkName = "TEAM";
    team.position = Position::Team;
    players.push_back(team);

    if (side == 'H')
        return Team('H', "Kestrel Bay Mariners", "KBM", "5-2 (3-1)", std::move(players));
    return Team('V', "Aldric & Mercy Wardens", "AMW", "4-3 (2-2)", std::move(players));
}

Team RosterFactory::without(const Team &team, const std::set<int> &absent)
{
    std::vector<Player> players;
    for (std::size_t i = 0; i < team.players().size(); ++i) {
        if (absent.count(static_cast<int>(i)) == 0)
            players.push_back(team.players()[i]);
    }
    return Team(team.side(), team.name(), team.id(), team.record(), std::move(players));
}

} // namespace pylonix::feed
