#pragma once

#include <string>

// The final state of the stress game the feed tool writes with `--seed seed
// --scale scale`: `scale` times the plays and rosters of a normal game.
std::string StressGameXml(int seed, int scale);

// Runs the benchmarks the command line selects inside a QApplication, on the
// off-screen platform unless QT_QPA_PLATFORM names another. Returns main's status.
int RunQtBenchmarks(int argc, char **argv);
