// How fast the Individual Player window fills and lays itself out for the
// busiest player of the stress game (--scale 10): the player named in the
// most plays. The goal is 5 ms.
#include "player/CPlayerDlg.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"
#include "pages/CStatGridCtrl.h"

#include "BenchSupport.h"

#include <QApplication>
#include <array>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace
{

struct Game {
    CGameDocument document;
    std::array<CTeamStats, 2> teams;
    std::array<CSeasonStats, 2> seasons;
};

std::unique_ptr<Game> LoadStressGame()
{
    auto game = std::make_unique<Game>();
    const auto path = std::filesystem::temp_directory_path() /
                      ("pylonix-bench-player-" + std::to_string(::getpid()) + ".xml");
    std::ofstream(path, std::ios::binary) << StressGameXml(14, 10);
    const bool opened = game->document.Open(path.string());
    std::filesystem::remove(path);
    if (!opened)
        return nullptr;
    game->teams[0].SetSide('H');
    game->teams[1].SetSide('V');
    game->teams[0].LoadGame(game->document);
    game->teams[1].LoadGame(game->document);
    return game;
}

void FillBusiestPlayer(benchmark::State &state)
{
    const auto game = LoadStressGame();
    if (!game) {
        state.SkipWithError("cannot open the stress game");
        return;
    }
    CPlayerDlg dialog;
    dialog.SetSources(game->teams, game->seasons, &game->document);
    dialog.resize(600, 400);
    dialog.show();
    QApplication::processEvents();

    // The player with the most rows in his plays list.
    int busiestTeam = 0, busiestPlayer = 0, mostRows = -1;
    for (int team = 0; team < 2; ++team) {
        for (int player = 0; player < game->teams[team].playerCount(); ++player) {
            dialog.SetPlayer(team, player);
            dialog.ShowPlayer();
            if (dialog.PlaysGrid()->GetItemCount() > mostRows) {
                mostRows = dialog.PlaysGrid()->GetItemCount();
                busiestTeam = team;
                busiestPlayer = player;
            }
        }
    }
    dialog.SetPlayer(busiestTeam, busiestPlayer);
    const bool firstFill = state.range(0) != 0;
    for (auto _ : state) {
        if (firstFill) {
            // A window that has not shown these plays before.
            state.PauseTiming();
            CPlayerDlg fresh;
            fresh.SetSources(game->teams, game->seasons, &game->document);
            fresh.resize(600, 400);
            fresh.show();
            QApplication::processEvents();
            fresh.SetPlayer(busiestTeam, busiestPlayer);
            state.ResumeTiming();
            fresh.ShowPlayer();
            QApplication::processEvents();
            state.PauseTiming();
        } else {
            dialog.ShowPlayer();
            QApplication::processEvents(); // the repaint the layout asked for
        }
        if (firstFill)
            state.ResumeTiming();
    }
    state.counters["play_rows"] = mostRows;
    state.counters["players"] = game->teams[0].playerCount() + game->teams[1].playerCount();
}
// 0: a refresh (after a reload) of the open window; 1: the first fill of a new window.
BENCHMARK(FillBusiestPlayer)->Arg(0)->Arg(1)->ArgName("first")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunQtBenchmarks(argc, argv);
}
