#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "SeasonBuilder.h"
#include "SeasonXmlWriter.h"
#include "gamedata/CDriveChartData.h"
#include "platform/Fonts.h"
#include "service/GameDocumentFromSession.h"
#include "wire/TableWire.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace
{

using nlohmann::json;

struct FeedGame {
    std::uint64_t seed;
    pylonix::feed::FileShape shape;
    bool seasons;
    ViewOptions options;
};

// The tables of "pages" as the export builds them, each fitted and written whole.
std::map<QString, QByteArray> exportedTables(const GameFiles &files, const ViewOptions &options)
{
    GameSession session;
    session.Reload(files);
    const CDriveChartData drives =
        CDriveChartData::Load(session.game(), session.teams(), options.drives);
    const TextWrapper wrapper(DialogFont());
    const TableInput input{session, drives, options, wrapper};
    std::map<QString, QByteArray> tables;
    for (const TableKey &key : AllTableKeys())
        tables.emplace(QString::fromStdString(key.Path()),
                       JsonWriter::Compact([&](JsonWriter &out) {
                           TableWire::Write(out, BuildPageTable(input, key));
                       }));
    return tables;
}

} // namespace

// A game fed play by play into the file and built by one builder after every
// play holds, byte for byte, what a new builder makes of the same file; each
// change message, applied by another library's JSON Patch to the state
// before, gives the state after. Games in both file shapes, one with season
// files and options that narrow the tables.
TEST(IncrementalDocument, EveryPlayEqualsAFreshBuildAndItsPatchLeadsThere)
{
    using namespace pylonix::feed;
    ViewOptions narrowed;
    narrowed.drives.quarter = 2;
    narrowed.showTop = false;
    narrowed.playColumnWidth = 200;
    const std::vector<FeedGame> games{{14, FileShape::Full, false, {}},
                                      {3, FileShape::Real, true, {}},
                                      {27, FileShape::Full, false, narrowed}};
    for (const FeedGame &game : games) {
        SCOPED_TRACE("seed " + std::to_string(game.seed));
        QTemporaryDir folder;
        GameFiles files{folder.filePath("game.xml").toStdString(), {}, {}};
        if (game.seasons) {
            const SeasonBuilder seasons(game.seed, 1);
            files.homeSeason = folder.filePath("home.xml").toStdString();
            files.visitorSeason = folder.filePath("visitor.xml").toStdString();
            std::ofstream(files.homeSeason) << SeasonXmlWriter::write(seasons.home());
            std::ofstream(files.visitorSeason) << SeasonXmlWriter::write(seasons.visitor());
        }
        const RosterFactory rosters(1);
        std::vector<std::string> plays;
        GameSimulator(game.seed, rosters.home(), rosters.visitor())
            .run([&](const GameState &state, int) {
                plays.push_back(GameXmlWriter::write(state, Encoding::Utf8, game.shape));
            });
        ASSERT_GT(plays.size(), 100u);

        GameDocumentFromSession incremental(game.options);
        GameDocument before;
        json state;
        const QDateTime updated = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
        for (std::size_t play = 0; play < plays.size(); ++play) {
            SCOPED_TRACE("play " + std::to_string(play));
            std::ofstream(files.game) << plays[play];
            const int seq = static_cast<int>(play) + 1;
            GameDocument built, fresh;
            QString error;
            ASSERT_TRUE(incremental.Load(files, seq, updated, built, error)) << error.toStdString();
            ASSERT_TRUE(
                GameDocumentFromSession(game.options).Load(files, seq, updated, fresh, error));
            ASSERT_EQ(built.members, fresh.members);
            ASSERT_EQ(built.pages, fresh.pages);
            ASSERT_EQ(built.Json(), fresh.Json());
            if (play == 0) {
                state = json::parse(built.StateJson().toStdString());
            } else {
                const QByteArray message = built.ChangedMessage(before);
                ASSERT_FALSE(message.isEmpty());
                state = state.patch(json::parse(message.toStdString())["patch"]);
                ASSERT_EQ(state, json::parse(built.StateJson().toStdString()));
            }
            before = std::move(built);
        }
        EXPECT_EQ(before.pages, exportedTables(files, game.options));
    }
}
