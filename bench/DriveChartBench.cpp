// How fast the drive chart repaints: with the 40 drives of a long game, and
// with the drive list of a stress game (--scale 10, 245 drives), and with 400
// drives; and a mouse move onto another entry, which repaints. The goal is
// 5 ms for each.
#include "drivechart/CDriveChartWnd.h"
#include "gamedata/CDriveChartData.h"
#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "platform/QtConversions.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <array>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace
{

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// `count` drives alternating between the teams, spread over the field.
std::string gameWithDrives(int count)
{
    std::string drives, starts;
    for (int d = 1; d <= count; ++d) {
        const std::string index = std::to_string(d);
        const int start = 5 + (d * 7) % 60;
        const int end = start + (d % 5 == 0 ? -4 : 10 + (d * 13) % 30);
        drives += "<drive driveindex=\"" + index + "\" vh=\"" + (d % 2 ? "H" : "V") +
                  "\" plays=\"5\" yards=\"" + std::to_string(end - start) +
                  "\" top=\"02:10\" start=\"KO,1,15:00," + std::to_string(start) +
                  "\" end=\"PUNT,1,12:50," + std::to_string(end) + "\"/>\n";
        starts += "<drivestart driveindex=\"" + index + ",1\" vh=\"H\"/>\n";
    }
    return "<fbgame><venue><rules field=\"100\"/></venue>"
           "<team vh=\"H\" id=\"HOM\" name=\"Home\"/><team vh=\"V\" id=\"AWY\" name=\"Away\"/>"
           "<drives>" +
           drives + "</drives><plays><qtr number=\"1\">" + starts + "</qtr></plays></fbgame>";
}

// A shown chart of the drives of one game file.
struct Chart {
    CGameDocument document;
    std::array<CTeamStats, 2> teams;
    CDriveChartData data;
    std::unique_ptr<CDriveChartWnd> view;

    bool Load(const std::string &xml)
    {
        const auto path = std::filesystem::temp_directory_path() /
                          ("pylonix-bench-chart-" + std::to_string(::getpid()) + ".xml");
        std::ofstream(path, std::ios::binary) << xml;
        const bool opened = document.Open(path.string());
        std::filesystem::remove(path);
        if (!opened)
            return false;
        teams[0].SetSide('H');
        teams[1].SetSide('V');
        teams[0].LoadGame(document);
        teams[1].LoadGame(document);
        data = CDriveChartData::Load(document, teams, DriveFilter{});
        view = std::make_unique<CDriveChartWnd>();
        view->SetDrives(data);
        view->resize(kWidth, kHeight);
        view->show();
        QApplication::processEvents();
        return true;
    }
};

std::unique_ptr<Chart> MakeChart(int which)
{
    auto chart = std::make_unique<Chart>();
    // 0: a long game's 40 drives; 1: the stress game; 2: 400 drives.
    if (!chart->Load(which == 1 ? StressGameXml(14, 10) : gameWithDrives(which == 0 ? 40 : 400)))
        return nullptr;
    return chart;
}

void Repaint(benchmark::State &state)
{
    const auto chart = MakeChart(static_cast<int>(state.range(0)));
    if (!chart) {
        state.SkipWithError("cannot open the game");
        return;
    }
    chart->view->Select(3);
    for (auto _ : state)
        chart->view->viewport()->repaint();
    state.counters["entries"] = chart->data.count();
    state.counters["visible_rows"] = chart->view->Geometry().visibleRows();
}

void HoverMove(benchmark::State &state)
{
    const auto chart = MakeChart(static_cast<int>(state.range(0)));
    if (!chart) {
        state.SkipWithError("cannot open the game");
        return;
    }
    QWidget *viewport = chart->view->viewport();
    viewport->repaint();
    chart->view->UpdateGeometry();
    const DriveChartGeometry &geometry = chart->view->Geometry();
    const std::array<QPoint, 2> points = {ToQPoint(geometry.HitRect(0).CenterPoint()),
                                          ToQPoint(geometry.HitRect(1).CenterPoint())};
    int next = 0;
    for (auto _ : state) {
        const QPointF at(points[next]);
        next = 1 - next;
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QApplication::processEvents(); // the repaint the move asked for
    }
    state.counters["entries"] = chart->data.count();
}

} // namespace

BENCHMARK(Repaint)->Arg(0)->Arg(1)->Arg(2)->ArgName("game")->Unit(benchmark::kMillisecond);
BENCHMARK(HoverMove)->Arg(0)->Arg(1)->Arg(2)->ArgName("game")->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return RunQtBenchmarks(argc, argv);
}
