#include "BenchSupport.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"

#include <QApplication>
#include <benchmark/benchmark.h>

std::string StressGameXml(int seed, int scale)
{
    using namespace pylonix::feed;
    const RosterFactory rosters(scale);
    GameSimulator simulator(seed, rosters.home(), rosters.visitor(), scale);
    simulator.run({});
    return GameXmlWriter::write(simulator.state());
}

int RunQtBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
