// How fast a big table fills, repaints and scrolls. A live game refills its
// tables every few seconds; the budget is a fill under 50 ms and a repaint
// of one screen under 8 ms.
#include "BenchSupport.h"
#include "gridctrl/CZrGridListCtrl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <vector>

namespace
{

constexpr int kRows = 5000;
constexpr int kColumns = 20;
constexpr int kWidth = 1280;
constexpr int kHeight = 800;

// The texts a page would put into the table, made once.
const std::vector<QString> &CellTexts()
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> all;
        all.reserve(kRows * kColumns);
        for (int r = 0; r < kRows; ++r) {
            all.push_back(QStringLiteral("Player %1, Q. B.").arg(r));
            for (int c = 1; c < kColumns; ++c)
                all.push_back(QString::number((r * 37 + c * 11) % 1000 / 10.0, 'f', 1));
        }
        return all;
    }();
    return texts;
}

// A shown 1280x800 table with its 20 columns.
std::unique_ptr<CZrGridListCtrl> MakeGrid()
{
    auto grid = std::make_unique<CZrGridListCtrl>();
    grid->resize(kWidth, kHeight);
    grid->SetFlags(GLF_FULLROWSELECT);
    for (int c = 0; c < kColumns; ++c)
        grid->InsertColumn(c, QStringLiteral("Col %1").arg(c), c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT,
                           c == 0 ? 120 : 62);
    grid->show();
    QApplication::processEvents();
    return grid;
}

void Fill(CZrGridListCtrl &grid)
{
    const std::vector<QString> &texts = CellTexts();
    grid.DeleteAllItems();
    for (int r = 0; r < kRows; ++r) {
        grid.InsertItem(r, texts[r * kColumns]);
        for (int c = 1; c < kColumns; ++c)
            grid.SetItemText(r, c, texts[r * kColumns + c]);
        for (int c = 0; c < kColumns; ++c) {
            const bool visitor = r % 2 == 1;
            grid.SetCellTextColor(r, c,
                                  (c * r) % 17 == 0 ? RGB(255, 0, 0)
                                  : visitor         ? RGB(255, 255, 255)
                                                    : RGB(0, 0, 0));
            grid.SetCellBkColor(r, c, visitor ? RGB(128, 128, 128) : RGB(255, 255, 255));
        }
    }
}

void BM_Fill5000x20WithCellColours(benchmark::State &state)
{
    auto grid = MakeGrid();
    CellTexts();
    for (auto _ : state) {
        Fill(*grid);
        QApplication::processEvents(); // let the pending repaint request go
    }
    state.counters["rows"] = grid->GetItemCount();
}
BENCHMARK(BM_Fill5000x20WithCellColours)->Unit(benchmark::kMillisecond);

void BM_RepaintOneScreen(benchmark::State &state)
{
    auto grid = MakeGrid();
    Fill(*grid);
    grid->verticalScrollBar()->setValue(1000);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        grid->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["rows shown"] = grid->GetCountPerPage();
}
BENCHMARK(BM_RepaintOneScreen)->Unit(benchmark::kMillisecond);

void BM_ScrollOnePageAndRepaint(benchmark::State &state)
{
    auto grid = MakeGrid();
    Fill(*grid);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QScrollBar *bar = grid->verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        grid->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ScrollOnePageAndRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunQtBenchmarks(argc, argv);
}
