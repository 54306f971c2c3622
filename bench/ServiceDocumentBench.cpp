// The live service's own share of a reload, without sockets: building its
// document from a loaded session (the export's members through the view
// model, the play-by-play's wrapping remembered from the reload before), and
// the change message from one play to the next. Argument: the game's scale
// (1: a normal game, 10: the tenfold one), after play 110 x scale.
// ServicePlay is the whole of what a play costs the service (the reload, the
// document built from the one before, the change message), beside a bare
// pugixml parse of the same file: "x_bare_parse" is the ratio.

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "service/GameDocumentFromSession.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <pugixml.hpp>

namespace
{

// The feed's game (seed 14) after play `play` and after the next one, as files.
struct TwoStates {
    QTemporaryDir folder;
    std::string before = folder.filePath("before.xml").toStdString();
    std::string after = folder.filePath("after.xml").toStdString();

    TwoStates(int scale, int play)
    {
        using namespace pylonix::feed;
        const RosterFactory rosters(scale);
        GameSimulator simulator(14, rosters.home(), rosters.visitor(), scale);
        simulator.run([&](const GameState &state, int number) {
            if (number == play || number == play + 1)
                std::ofstream(number == play ? before : after) << GameXmlWriter::write(state);
        });
    }
};

void DocumentBuild(benchmark::State &state)
{
    const TwoStates files(static_cast<int>(state.range(0)), 110 * static_cast<int>(state.range(0)));
    GameSession session;
    const ReloadResult loaded = session.Reload({files.after, "", ""});
    GameDocumentFromSession builder;
    GameDocument document;
    QString error;
    for (auto _ : state) {
        if (!builder.Build(session, {files.after, "", ""}, loaded, 2,
                           QDateTime::currentDateTimeUtc(), document, error))
            state.SkipWithError("the game was not read");
        benchmark::DoNotOptimize(document.members.size());
    }
}

void ChangeMessage(benchmark::State &state)
{
    const TwoStates files(static_cast<int>(state.range(0)), 110 * static_cast<int>(state.range(0)));
    GameDocumentFromSession builder;
    GameDocument before, after;
    QString error;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!builder.Load({files.before, "", ""}, 1, now, before, error) ||
        !builder.Load({files.after, "", ""}, 2, now, after, error)) {
        state.SkipWithError("the game was not read");
        return;
    }
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray message = after.ChangedMessage(before);
        bytes = message.size();
        benchmark::DoNotOptimize(message.data());
    }
    state.counters["message_bytes"] = static_cast<double>(bytes);
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void ServicePlay(benchmark::State &state)
{
    const TwoStates files(static_cast<int>(state.range(0)), 110 * static_cast<int>(state.range(0)));
    // The least of a few parses: the file read and parsed, nothing else.
    double parse = 1e9;
    for (int i = 0; i < 5; ++i) {
        const double start = threadCpuSeconds();
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_file(files.after.c_str()));
        parse = std::min(parse, threadCpuSeconds() - start);
    }
    GameDocumentFromSession builder;
    GameSession session;
    GameDocument previous;
    QString error;
    int seq = 0;
    // One play forward, one back: every build is one play away from the last.
    const auto play = [&] {
        const GameFiles game{++seq % 2 != 0 ? files.before : files.after, "", ""};
        const ReloadResult loaded = session.Reload(game);
        GameDocument document;
        if (!builder.Build(session, game, loaded, seq, QDateTime::currentDateTimeUtc(), document,
                           error))
            return false;
        benchmark::DoNotOptimize(document.ChangedMessage(previous).size());
        previous = std::move(document);
        return true;
    };
    if (!play() || !play()) {
        state.SkipWithError("the game was not read");
        return;
    }
    const double start = threadCpuSeconds();
    for (auto _ : state) {
        if (!play())
            state.SkipWithError("the game was not read");
    }
    const double perPlay = (threadCpuSeconds() - start) /
                           static_cast<double>(std::max<int64_t>(state.iterations(), 1));
    state.counters["bare_parse_ms"] = parse * 1e3;
    state.counters["x_bare_parse"] = perPlay / parse;
}

} // namespace

BENCHMARK(ServicePlay)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(DocumentBuild)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangeMessage)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv); // the play-by-play is measured in a font
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
