#include "app/MainLayout.h"

#include "platform/SystemMetrics.h"

#include <algorithm>

namespace
{

constexpr int kTitleHeight = 15;

int maxWidth(std::initializer_list<QSize> sizes)
{
    int width = 0;
    for (const QSize &size : sizes)
        width = std::max(width, size.width());
    return width;
}

class Placer
{
public:
    explicit Placer(LayoutResult &result) : result_(result) {}

    void Put(LayoutRole role, int index, int x, int y, int width, int height)
    {
        result_.placements.push_back({role, index, QRect(x, y, width, height)});
    }
    void Put(LayoutRole role, int index, int x, int y, QSize size)
    {
        Put(role, index, x, y, size.width(), size.height());
    }

private:
    LayoutResult &result_;
};

void layOutOverview(const LayoutInput &in, Placer &place, LayoutResult &result)
{
    const int sx = in.scroll.x(), sy = in.scroll.y();
    const QSize table = in.teamStats;
    place.Put(LayoutRole::TeamStats, 0, -sx, -sy, table);
    place.Put(LayoutRole::OverviewText, 0, 5 - sx, table.height() - sy + 5, 295, 220);
    result.content = QSize(std::max(table.width(), 300), table.height() + 225);
    // The game at a glance stands right of the text, inside the same band:
    // the line score (three rows of 16 pixels), the situation lines under it.
    constexpr int kGlanceLeft = 310, kGlanceWidth = 260, kLineScoreHeight = 3 * 16 + 1;
    const int glanceX = kGlanceLeft - sx, glanceY = table.height() - sy + 5;
    place.Put(LayoutRole::LineScore, 0, glanceX, glanceY, std::max(kGlanceWidth, in.lineScoreWidth),
              kLineScoreHeight);
    place.Put(LayoutRole::SituationText, 0, glanceX, glanceY + kLineScoreHeight + 7, kGlanceWidth,
              220 - kLineScoreHeight - 7);
}

void layOutOffense(const LayoutInput &in, Placer &place, LayoutResult &result)
{
    const int sx = in.scroll.x(), sy = in.scroll.y();
    const auto taller = [](const std::array<QSize, 2> &pair) {
        return std::max(pair[0].height(), pair[1].height());
    };
    const int y2 = taller(in.passing) + 25;
    const int y3 = y2 + taller(in.rushing) + 25;
    const int bottom = y3 + taller(in.receiving) + 15;
    const int visitorX = maxWidth({in.passing[0], in.rushing[0], in.receiving[0]}) + 10;

    const std::array<int, 3> rowTop = {15, y2 + 15, y3 + 15};
    const std::array<LayoutRole, 3> roles = {LayoutRole::Passing, LayoutRole::Rushing,
                                             LayoutRole::Receiving};
    for (int team = 0; team < 2; ++team) {
        const int x = (team == 0 ? 0 : visitorX) - sx;
        const std::array<QSize, 3> sizes = {in.passing[team], in.rushing[team], in.receiving[team]};
        for (int row = 0; row < 3; ++row) {
            const int y = rowTop[row] - sy;
            place.Put(roles[row], team, x, y, sizes[row]);
            place.Put(LayoutRole::OffenseTitle, team * 3 + row, x, y - kTitleHeight,
                      sizes[row].width(), kTitleHeight);
        }
    }
    result.content =
        QSize(visitorX + maxWidth({in.passing[1], in.rushing[1], in.receiving[1]}), bottom);
}

void layOutDefense(const LayoutInput &in, Placer &place, LayoutResult &result)
{
    const int sx = in.scroll.x(), sy = in.scroll.y();
    const QSize home = in.defense[0], visitor = in.defense[1];
    place.Put(LayoutRole::Defense, 0, -sx, -sy, home);
    place.Put(LayoutRole::Defense, 1, -sx, home.height() + 10 - sy, visitor);
    result.content =
        QSize(std::max(home.width(), visitor.width()), home.height() + 10 + visitor.height());
}

void layOutSpecialTeams(const LayoutInput &in, Placer &place, LayoutResult &result)
{
    const int sx = in.scroll.x(), sy = in.scroll.y();
    std::array<int, 2> columnWidth{};
    std::array<int, 7> rowHeight{};
    for (int i = 0; i < 14; ++i) {
        columnWidth[i / 7] = std::max(columnWidth[i / 7], in.specialTeams[i].width());
        rowHeight[i % 7] = std::max(rowHeight[i % 7], in.specialTeams[i].height());
    }
    const std::array<int, 2> columnX = {0, columnWidth[0] + 10};
    std::array<int, 7> rowY{};
    for (int k = 1; k < 7; ++k)
        rowY[k] = rowY[k - 1] + rowHeight[k - 1] + 25;

    for (int i = 0; i < 14; ++i) {
        const int x = columnX[i / 7] - sx;
        const int y = rowY[i % 7] - sy;
        place.Put(LayoutRole::SpecialTeams, i, x, y + kTitleHeight, in.specialTeams[i]);
        place.Put(LayoutRole::SpecialTitle, i, x, y, in.specialTeams[i].width(), kTitleHeight);
    }
    result.content = QSize(columnX[1] + columnWidth[1], rowY[6] + rowHeight[6] + 15);
}

void layOutScoring(const LayoutInput &in, Placer &place, LayoutResult &result)
{
    place.Put(LayoutRole::Scoring, 0, -in.scroll.x(), -in.scroll.y(), in.scoring);
    result.content = in.scoring;
}

void layOutDriveCharts(const LayoutInput &in, Placer &place, LayoutResult &result)
{
    const int w = in.client.width(), h = in.client.height();
    int chart = in.chartHeight;
    int text = in.textHeight;
    // The chart keeps room for one 9-pixel row per entry, inside its edges.
    const int minimumChart = 9 * in.driveCount + 2 * GetSystemMetrics(SM_CYEDGE) + 47;
    chart = std::max(chart, minimumChart);
    // When the window is too short, the text box gives way first, then the chart.
    if (h < chart + text + 200) {
        text = h - chart - 200;
        if (text < 50) {
            text = 50;
            chart = h - 250;
        }
    }
    result.chartHeight = chart;
    result.textHeight = text;

    place.Put(LayoutRole::ScoringOnly, 0, 240, 80, 80, 21);
    place.Put(LayoutRole::HomeButton, 0, 330, 80, 50, 21);
    place.Put(LayoutRole::VisitorButton, 0, 380, 80, 50, 21);
    place.Put(LayoutRole::BothButton, 0, 430, 80, 50, 21);
    place.Put(LayoutRole::Hint, 0, 530, 80, 300, 21);
    place.Put(LayoutRole::DriveChart, 0, kContainerLeft, 103, w - kContainerLeft, chart);
    place.Put(LayoutRole::DriveText, 0, kContainerLeft, 107 + chart, w - kContainerLeft, text);
    const int listsTop = 111 + chart + text;
    place.Put(LayoutRole::DriveLists, 0, kContainerLeft, listsTop, w - kContainerLeft,
              h - listsTop);
    place.Put(LayoutRole::Splitter, 0, kContainerLeft, listsTop - 4, w - kContainerLeft, 4);
}

} // namespace

std::optional<QRect> LayoutResult::Find(LayoutRole role, int index) const
{
    for (const Placement &placement : placements) {
        if (placement.role == role && placement.index == index)
            return placement.rect;
    }
    return std::nullopt;
}

LayoutResult ComputeLayout(const LayoutInput &input)
{
    LayoutResult result;
    result.chartHeight = input.chartHeight;
    result.textHeight = input.textHeight;
    Placer place(result);
    const int w = input.client.width(), h = input.client.height();

    place.Put(LayoutRole::Container, 0, kContainerLeft, kContainerTop, w - kContainerLeft,
              h - kContainerTop);
    place.Put(LayoutRole::Configure, 0, 0, h - 24, 128, 24);
    place.Put(LayoutRole::Strip, 0, kStripArea.x(), kStripArea.y(),
              std::max(w - kStripArea.x() - 4, 0), kStripArea.height());

    switch (input.page) {
    case PAGE_OVERVIEW:
        layOutOverview(input, place, result);
        break;
    case PAGE_OFFENSE:
        layOutOffense(input, place, result);
        break;
    case PAGE_DEFENSE:
        layOutDefense(input, place, result);
        break;
    case PAGE_SPECIAL_TEAMS:
        layOutSpecialTeams(input, place, result);
        break;
    case PAGE_SCORING:
        layOutScoring(input, place, result);
        break;
    case PAGE_PLAY_BY_PLAY:
        place.Put(LayoutRole::PlayByPlay, 0, kContainerLeft, 103, w - kContainerLeft, h - 103);
        break;
    case PAGE_DRIVE_CHARTS:
        layOutDriveCharts(input, place, result);
        break;
    default:
        break;
    }
    if (input.page == PAGE_PLAY_BY_PLAY || input.page == PAGE_DRIVE_CHARTS)
        place.Put(LayoutRole::PeriodBox, 0, 133, 80, 100, 100);
    return result;
}
