#include "player/PlayerLayout.h"

#include "platform/SystemMetrics.h"

#include <algorithm>

namespace
{

constexpr int kTitleHeight = 15;
constexpr int kLineGap = 25;
constexpr int kTableGap = 10;
constexpr int kPanelTop = 35;

} // namespace

PlayerLayout
PlayerLayout::Compute(QSize client, QPoint scroll,
                      const std::array<std::optional<QSize>, kPlayerCategoryCount> &tables)
{
    PlayerLayout layout;
    const int width = client.width();
    const int height = client.height();
    int x = 0;
    int y = 0;
    int lineHeight = 0;
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        const std::optional<QSize> &size = tables[static_cast<std::size_t>(c)];
        if (!size)
            continue;
        // Defense, when shown, is the first table of the first line. Any
        // other table that does not fit starts a new line, even at x 0.
        if (c != 0 && x + size->width() > width) {
            y += lineHeight + kLineGap;
            x = 0;
            lineHeight = 0;
        }
        lineHeight = std::max(lineHeight, size->height());
        layout.categories.push_back(
            {c, QRect(QPoint(x - scroll.x(), y + kTitleHeight - scroll.y()), *size),
             QRect(x - scroll.x(), y - scroll.y(), size->width(), kTitleHeight)});
        x += size->width() + kTableGap;
    }

    layout.contentHeight = y + lineHeight + kTitleHeight;
    // The panel's sunken edge takes two pixels above and below the content.
    int panel = layout.contentHeight + 2 * GetSystemMetrics(SM_CYEDGE);
    if (panel + kPanelTop > height - 100) {
        // Too tall: the panel stops 135 pixels above the bottom and scrolls.
        panel = height - 135;
        layout.scrolls = true;
    }
    layout.panel = QRect(0, kPanelTop, width, panel);
    layout.playsLabel = QRect(0, panel + 45, 200, 15);
    layout.plays = QRect(0, panel + 60, width, height - panel - 60);
    return layout;
}
