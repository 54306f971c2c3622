#include "app/MainLayout.h"

#include <gtest/gtest.h>

namespace
{

LayoutInput inputFor(int page, QSize client = QSize(1024, 720), QPoint scroll = QPoint(0, 0))
{
    LayoutInput input;
    input.page = page;
    input.client = client;
    input.scroll = scroll;
    return input;
}

QRect placed(const LayoutResult &result, LayoutRole role, int index = 0)
{
    const auto rect = result.Find(role, index);
    EXPECT_TRUE(rect.has_value()) << "role " << static_cast<int>(role) << " index " << index;
    return rect.value_or(QRect());
}

} // namespace

TEST(MainLayout, ContainerAndConfigureFollowTheClientSizeOnEveryPage)
{
    for (const int page : kPageCodes) {
        const LayoutResult result = ComputeLayout(inputFor(page, QSize(800, 600)));
        EXPECT_EQ(placed(result, LayoutRole::Container), QRect(130, 80, 670, 520)) << page;
        EXPECT_EQ(placed(result, LayoutRole::Configure), QRect(0, 576, 128, 24)) << page;
        const bool periodPage = page == PAGE_PLAY_BY_PLAY || page == PAGE_DRIVE_CHARTS;
        EXPECT_EQ(result.Find(LayoutRole::PeriodBox).has_value(), periodPage) << page;
        EXPECT_EQ(result.content.has_value(), !periodPage) << page;
    }
    const LayoutResult pbp = ComputeLayout(inputFor(PAGE_PLAY_BY_PLAY, QSize(800, 600)));
    EXPECT_EQ(placed(pbp, LayoutRole::PeriodBox), QRect(133, 80, 100, 100));
    EXPECT_EQ(placed(pbp, LayoutRole::PlayByPlay), QRect(130, 103, 670, 497));
}

TEST(MainLayout, OverviewPutsTheTextUnderTheTableAndScrollsBoth)
{
    LayoutInput input = inputFor(PAGE_OVERVIEW, QSize(1024, 720), QPoint(7, 30));
    input.teamStats = QSize(250, 400);
    const LayoutResult result = ComputeLayout(input);
    EXPECT_EQ(placed(result, LayoutRole::TeamStats), QRect(-7, -30, 250, 400));
    EXPECT_EQ(placed(result, LayoutRole::OverviewText), QRect(-2, 375, 295, 220));
    // The content is at least as wide as the text and its margin.
    EXPECT_EQ(result.content, QSize(300, 625));

    input.teamStats = QSize(480, 200);
    EXPECT_EQ(ComputeLayout(input).content, QSize(480, 425));
}

TEST(MainLayout, OffenseRowsFollowTheTallerTableAndTheVisitorColumnTheWidest)
{
    LayoutInput input = inputFor(PAGE_OFFENSE, QSize(1024, 720), QPoint(0, 10));
    input.passing = {QSize(300, 50), QSize(320, 70)};
    input.rushing = {QSize(280, 90), QSize(260, 40)};
    input.receiving = {QSize(350, 60), QSize(310, 80)};
    const LayoutResult result = ComputeLayout(input);
    // y2 = 70 + 25, y3 = 95 + 90 + 25; visitor column = 350 + 10.
    EXPECT_EQ(placed(result, LayoutRole::Passing, 0), QRect(0, 5, 300, 50));
    EXPECT_EQ(placed(result, LayoutRole::Rushing, 0), QRect(0, 100, 280, 90));
    EXPECT_EQ(placed(result, LayoutRole::Receiving, 0), QRect(0, 215, 350, 60));
    EXPECT_EQ(placed(result, LayoutRole::Passing, 1), QRect(360, 5, 320, 70));
    EXPECT_EQ(placed(result, LayoutRole::Receiving, 1), QRect(360, 215, 310, 80));
    // Each title sits 15 pixels above its table, as wide as the table.
    EXPECT_EQ(placed(result, LayoutRole::OffenseTitle, 0), QRect(0, -10, 300, 15));
    EXPECT_EQ(placed(result, LayoutRole::OffenseTitle, 4), QRect(360, 85, 260, 15));
    EXPECT_EQ(result.content, QSize(360 + 320, 210 + 80 + 15));
}

TEST(MainLayout, DefenseStacksTheVisitorUnderTheHomeTable)
{
    LayoutInput input = inputFor(PAGE_DEFENSE, QSize(1024, 720), QPoint(4, 0));
    input.defense = {QSize(400, 120), QSize(420, 150)};
    const LayoutResult result = ComputeLayout(input);
    EXPECT_EQ(placed(result, LayoutRole::Defense, 0), QRect(-4, 0, 400, 120));
    EXPECT_EQ(placed(result, LayoutRole::Defense, 1), QRect(-4, 130, 420, 150));
    EXPECT_EQ(result.content, QSize(420, 280));
}

TEST(MainLayout, SpecialTeamsGridUsesTheWidestTableOfEachTeamAndTheTallerOfEachRow)
{
    LayoutInput input = inputFor(PAGE_SPECIAL_TEAMS);
    for (int i = 0; i < 14; ++i)
        input.specialTeams[i] = QSize(200 + i, 30 + (i % 7) * 2 + (i / 7) * 5);
    input.specialTeams[3] = QSize(260, 33);
    const LayoutResult result = ComputeLayout(input);
    // Row heights are the visitor's (5 taller); rows step by height + 25.
    EXPECT_EQ(placed(result, LayoutRole::SpecialTeams, 0), QRect(0, 15, 200, 30));
    EXPECT_EQ(placed(result, LayoutRole::SpecialTitle, 0), QRect(0, 0, 200, 15));
    EXPECT_EQ(placed(result, LayoutRole::SpecialTeams, 1), QRect(0, 60 + 15, 201, 32));
    EXPECT_EQ(placed(result, LayoutRole::SpecialTeams, 7), QRect(270, 15, 207, 35));
    EXPECT_EQ(placed(result, LayoutRole::SpecialTitle, 8), QRect(270, 60, 208, 15));
    int y6 = 0;
    for (int k = 0; k < 6; ++k)
        y6 += 35 + 2 * k + 25;
    EXPECT_EQ(placed(result, LayoutRole::SpecialTeams, 13), QRect(270, y6 + 15, 213, 47));
    EXPECT_EQ(result.content, QSize(270 + 213, y6 + 47 + 15));
}

TEST(MainLayout, ScoringTableTakesItsNaturalSizeAsContent)
{
    LayoutInput input = inputFor(PAGE_SCORING, QSize(1024, 720), QPoint(3, 9));
    input.scoring = QSize(640, 210);
    const LayoutResult result = ComputeLayout(input);
    EXPECT_EQ(placed(result, LayoutRole::Scoring), QRect(-3, -9, 640, 210));
    EXPECT_EQ(result.content, QSize(640, 210));
}

TEST(MainLayout, DriveChartsPlacesFiltersChartTextListsAndSplitter)
{
    LayoutInput input = inputFor(PAGE_DRIVE_CHARTS, QSize(1024, 720));
    input.driveCount = 10;
    const LayoutResult result = ComputeLayout(input);
    // 9 * 10 + 2 * 2 + 47 = 141 is below the default 200.
    EXPECT_EQ(result.chartHeight, 200);
    EXPECT_EQ(result.textHeight, 50);
    EXPECT_EQ(placed(result, LayoutRole::ScoringOnly), QRect(240, 80, 80, 21));
    EXPECT_EQ(placed(result, LayoutRole::HomeButton), QRect(330, 80, 50, 21));
    EXPECT_EQ(placed(result, LayoutRole::VisitorButton), QRect(380, 80, 50, 21));
    EXPECT_EQ(placed(result, LayoutRole::BothButton), QRect(430, 80, 50, 21));
    EXPECT_EQ(placed(result, LayoutRole::Hint), QRect(530, 80, 300, 21));
    EXPECT_EQ(placed(result, LayoutRole::DriveChart), QRect(130, 103, 894, 200));
    EXPECT_EQ(placed(result, LayoutRole::DriveText), QRect(130, 307, 894, 50));
    EXPECT_EQ(placed(result, LayoutRole::DriveLists), QRect(130, 361, 894, 359));
    EXPECT_EQ(placed(result, LayoutRole::Splitter), QRect(130, 357, 894, 4));
}

TEST(MainLayout, DriveChartGrowsToHoldEveryEntry)
{
    LayoutInput input = inputFor(PAGE_DRIVE_CHARTS, QSize(1024, 900));
    input.driveCount = 30;
    const LayoutResult result = ComputeLayout(input);
    EXPECT_EQ(result.chartHeight, 9 * 30 + 4 + 47);
    EXPECT_EQ(placed(result, LayoutRole::DriveChart).height(), 321);
}

TEST(MainLayout, ShortWindowShrinksTheTextBoxFirstThenTheChart)
{
    LayoutInput input = inputFor(PAGE_DRIVE_CHARTS, QSize(800, 500));
    input.textHeight = 120;
    // 500 < 200 + 120 + 200: the text box gives up 20 pixels, the chart none.
    LayoutResult result = ComputeLayout(input);
    EXPECT_EQ(result.chartHeight, 200);
    EXPECT_EQ(result.textHeight, 100);

    // 420 < 200 + 120 + 200 leaves 20 for the text: it stays at 50 and the chart gives way.
    input.client = QSize(800, 420);
    result = ComputeLayout(input);
    EXPECT_EQ(result.textHeight, 50);
    EXPECT_EQ(result.chartHeight, 170);
    EXPECT_EQ(placed(result, LayoutRole::DriveLists), QRect(130, 331, 670, 89));

    // A tall enough window leaves both heights as they are.
    input.client = QSize(800, 700);
    result = ComputeLayout(input);
    EXPECT_EQ(result.chartHeight, 200);
    EXPECT_EQ(result.textHeight, 120);
}

TEST(MainLayout, GameAtAGlanceTakesRoomNoOtherControlHas)
{
    for (const QSize client : {kMinimumClientSize, QSize(1024, 720)}) {
        for (const int page : kPageCodes) {
            LayoutInput input = inputFor(page, client, QPoint(3, 9));
            input.teamStats = QSize(300, 413);
            const LayoutResult result = ComputeLayout(input);
            // The strip: right of the scoreboard, above every page picture
            // and legend of the header (from y 25), inside the window.
            const QRect strip = placed(result, LayoutRole::Strip);
            EXPECT_GE(strip.left(), 304) << page;
            EXPECT_LT(strip.bottom(), 25) << page;
            EXPECT_LE(strip.right(), client.width()) << page;
            EXPECT_GT(strip.width(), 150) << page;
            // Controls placed in the window itself, not in the page container.
            for (const LayoutRole role :
                 {LayoutRole::Container, LayoutRole::Configure, LayoutRole::PlayByPlay,
                  LayoutRole::ScoringOnly, LayoutRole::HomeButton, LayoutRole::VisitorButton,
                  LayoutRole::BothButton, LayoutRole::Hint, LayoutRole::DriveChart,
                  LayoutRole::DriveText, LayoutRole::DriveLists, LayoutRole::Splitter,
                  LayoutRole::PeriodBox}) {
                if (const auto other = result.Find(role)) {
                    EXPECT_FALSE(strip.intersects(*other))
                        << page << " role " << static_cast<int>(role);
                }
            }
        }
    }
    LayoutInput overview = inputFor(PAGE_OVERVIEW, QSize(1024, 720), QPoint(3, 9));
    overview.teamStats = QSize(300, 413);
    const LayoutResult result = ComputeLayout(overview);
    for (const LayoutRole glance : {LayoutRole::LineScore, LayoutRole::SituationText}) {
        const QRect rect = placed(result, glance);
        EXPECT_FALSE(rect.intersects(placed(result, LayoutRole::OverviewText)));
        EXPECT_FALSE(rect.intersects(placed(result, LayoutRole::TeamStats)));
        EXPECT_LE(rect.bottom(), placed(result, LayoutRole::OverviewText).bottom())
            << "within the band of the text";
    }
    EXPECT_EQ(result.content, QSize(300, 638)) << "the content size stays the text's";
}
