#pragma once

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/CStatGridCtrl.h"
#include "pages/StatPages.h"
#include "platform/ControlIds.h"
#include "platform/Messages.h"
#include "platform/QtConversions.h"
#include "views/PlayerStatTable.h"

#include "../support/ScratchDirectory.h"
#include "../support/TestTeams.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Texts in test failures as text, not as bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A game document opened from the given text.
class GameText
{
public:
    explicit GameText(const std::string &xml)
    {
        opened_ = document_.Open(dir_.Write("game.xml", xml));
    }
    const CGameDocument &document() const { return document_; }
    bool opened() const { return opened_; }

private:
    ScratchDirectory dir_;
    CGameDocument document_;
    bool opened_ = false;
};

// A window that records the private messages it receives.
class MessageSink : public QWidget
{
public:
    std::vector<std::pair<unsigned, WPARAM>> received;

    int Count(unsigned message) const
    {
        int n = 0;
        for (const auto &r : received)
            n += r.first == message;
        return n;
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == CMessageEvent::EventType()) {
            auto *m = static_cast<CMessageEvent *>(event);
            received.emplace_back(m->Message(), m->WParam());
            return true;
        }
        return QWidget::event(event);
    }
};

// Texts of one column, top to bottom.
inline std::vector<QString> ColumnTexts(const CZrGridListCtrl &grid, int column)
{
    std::vector<QString> texts;
    for (int row = 0; row < grid.GetItemCount(); ++row)
        texts.push_back(grid.GetItemText(row, column));
    return texts;
}

// Shows a top-level window and waits until it is on screen.
inline void ShowAndWait(QWidget &window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
}

// Whether a pixel shows the colour, allowing for the shading of smoothed text.
inline bool NearColour(QRgb pixel, COLORREF colour, int tolerance = 60)
{
    return std::abs(qRed(pixel) - GetRValue(colour)) <= tolerance &&
           std::abs(qGreen(pixel) - GetGValue(colour)) <= tolerance &&
           std::abs(qBlue(pixel) - GetBValue(colour)) <= tolerance;
}

// Number of pixels showing `colour` inside the rectangle.
inline int CountPixels(const QImage &image, const CRect &rect, COLORREF colour)
{
    int n = 0;
    for (int y = std::max(0, rect.top); y < std::min(image.height(), rect.bottom); ++y)
        for (int x = std::max(0, rect.left); x < std::min(image.width(), rect.right); ++x)
            n += NearColour(image.pixel(x, y), colour);
    return n;
}

// Every table of one StatPages, in windows that are never shown.
class PagesFixture : public testing::Test
{
protected:
    PagesFixture() : container(&dialog, IDC_PAGE_CONTAINER), pages(&dialog, &container, QFont()) {}

    void FillAll(bool showTop = true)
    {
        pages.FillYardage(session);
        pages.FillTeamStats(session, showTop);
        pages.FillOffense(session);
        pages.FillDefense(session);
        pages.FillSpecialTeams(session);
        pages.FillScoring(session, showTop);
        pages.FillPlayByPlay(session, 0, showTop);
        session.drives().LoadDrives(session.game(), session.teams());
        pages.FillDriveLists(session.drives(), showTop);
    }

    std::vector<CStatGridCtrl *> PlayerTables() const
    {
        std::vector<CStatGridCtrl *> tables(pages.specialTeams.begin(), pages.specialTeams.end());
        for (int side = 0; side < 2; ++side)
            tables.insert(tables.end(), {pages.passing[side], pages.rushing[side],
                                         pages.receiving[side], pages.defense[side]});
        return tables;
    }

    QWidget dialog;
    CPageContainerWnd container;
    StatPages pages;
    GameSession session;
};
