#pragma once

#include "gridctrl/CZrGridListCtrl.h"
#include "platform/Messages.h"
#include "platform/NotifyEvent.h"
#include "platform/QtConversions.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

// Texts in test failures as text, not as bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// What a parent window was told by its controls.
struct ReceivedNotification {
    int idFrom;
    int code;
    int row;
    int column;
};

// A parent window that records every notification it receives.
class NotificationSink : public QWidget
{
public:
    std::vector<ReceivedNotification> received;

    int Count(int code) const
    {
        int n = 0;
        for (const ReceivedNotification &r : received)
            n += r.code == code;
        return n;
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == CNotifyEvent::EventType()) {
            auto *n = static_cast<CNotifyEvent *>(event);
            received.push_back({n->IdFrom(), n->Code(), n->Row(), n->Column()});
            n->SetHandled();
            return true;
        }
        return QWidget::event(event);
    }
};

// A grid that records what its hooks were asked to do.
class RecordingGrid : public CZrGridListCtrl
{
public:
    using CZrGridListCtrl::CZrGridListCtrl;

    struct Ended {
        int row;
        int column;
        std::optional<QString> text;
    };
    std::vector<Ended> ended;
    std::vector<std::pair<int, int>> edited;
    std::vector<int> columnClicks;
    int parentNotificationsAtColumnClick = -1;

    void EditCell(int row, int column) override
    {
        edited.emplace_back(row, column);
        CZrGridListCtrl::EditCell(row, column);
    }
    void EndEdit(int row, int column, const std::optional<QString> &text) override
    {
        ended.push_back({row, column, text});
        CZrGridListCtrl::EndEdit(row, column, text);
    }
    void OnColumnClick(int column) override
    {
        columnClicks.push_back(column);
        auto *sink = dynamic_cast<NotificationSink *>(parentWidget());
        parentNotificationsAtColumnClick = sink ? static_cast<int>(sink->received.size()) : -1;
    }
};

// A shown, active window holding one grid of `rows` x `columns` cells whose
// texts are "r<row>c<column>", every column 60 pixels wide.
class GridFixture : public testing::Test
{
protected:
    static constexpr int kGridId = 1030;

    void SetUp() override
    {
        window = std::make_unique<NotificationSink>();
        window->resize(400, 240);
        grid = new RecordingGrid(window.get(), kGridId);
        grid->setGeometry(0, 0, 400, 240);
    }

    void Fill(int rows, int columns, int width = 60)
    {
        for (int c = 0; c < columns; ++c)
            grid->InsertColumn(c, QStringLiteral("Col %1").arg(c), LVCFMT_LEFT, width);
        for (int r = 0; r < rows; ++r) {
            grid->InsertItem(r, QStringLiteral("r%1c0").arg(r));
            for (int c = 1; c < columns; ++c)
                grid->SetItemText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        }
    }

    void Show()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid->setFocus();
        QApplication::processEvents();
    }

    // The rows area as drawn now.
    QImage Rows() const { return grid->viewport()->grab().toImage(); }

    // Centre of a cell in viewport coordinates.
    QPoint CellCentre(int row, int column) const
    {
        return ToQPoint(grid->GetCellRect(row, column).CenterPoint());
    }

    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
        QApplication::processEvents();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        // No turn of the event loop: a keyboard move has taken effect when the
        // key has been handled.
        QTest::keyClick(grid, key, modifiers);
    }

    std::unique_ptr<NotificationSink> window;
    RecordingGrid *grid = nullptr; // owned by the window
};

// Records the parts of a widget it is asked to repaint.
class RepaintRecorder : public QObject
{
public:
    QRegion repainted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            repainted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

// The tooltip's text as a person reads it: a tooltip that looks like markup
// is shown as rich text, anything else as it stands.
inline QString ShownToolTipText()
{
    const QString text = QToolTip::text();
    QTextDocument document;
    if (Qt::mightBeRichText(text))
        document.setHtml(text);
    else
        document.setPlainText(text);
    return document.toPlainText();
}

// Pixel value of a colour, for comparisons with QImage::pixel().
inline QRgb Px(COLORREF colour)
{
    return ToQRgb(colour);
}
