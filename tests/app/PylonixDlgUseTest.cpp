// The main window as a user meets it: what stays drawn, Escape from a table,
// the drive text box and the window remembered between runs.
#include "app/CPylonixDlg.h"
#include "app/DriveChartsPage.h"
#include "drivechart/CDriveChartWnd.h"
#include "drivechart/CSplitterBar.h"
#include "pages/CDriveListGrid.h"
#include "pages/CPlayByPlayGrid.h"
#include "platform/Artwork.h"

#include "../support/ScratchDirectory.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// The main window with every question answered No.
class AnsweringDlg : public CPylonixDlg
{
public:
    using CPylonixDlg::CPylonixDlg;
    QStringList questions;
    QString printTo; // the PDF file the print dialog chooses; empty: cancelled
    int printDialogs = 0;

protected:
    bool AskYesNo(const QString &text, const QString &, QMessageBox::Icon) override
    {
        questions.append(text);
        return false;
    }
    bool RunConfigureDialog() override { return false; }
    bool RunPrintDialog(QPrinter &printer) override
    {
        ++printDialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return !printTo.isEmpty();
    }
};

class WindowInUse : public testing::Test
{
protected:
    ScratchDirectory dir;
    std::string game = dir.Write("game.xml", ReadFile(PYLONIX_SAMPLES_DIR "/small/game.xml"));

    // A window on `gameFile`, started and shown at `client` size (when valid).
    std::unique_ptr<AnsweringDlg> Start(const std::string &gameFile, QSize client = {1024, 720})
    {
        WindowOptions options;
        options.gameFile = gameFile;
        options.iniFile = dir.PathOf("Pylonix.ini");
        options.watchGameFile = false;
        auto window = std::make_unique<AnsweringDlg>(options);
        EXPECT_TRUE(window->OnInitDialog());
        if (client.isValid())
            window->resize(client);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }
};

// The rows of `image` from `top` on, inside a margin of `edge` pixels, that hold ink.
int inkedRowsFrom(const QImage &image, int top, int edge)
{
    int inked = 0;
    for (int y = top; y < image.height() - edge; ++y) {
        for (int x = edge; x < image.width() - edge; ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                ++inked;
                break;
            }
        }
    }
    return inked;
}

} // namespace

TEST_F(WindowInUse, DecliningAtStartUpLeavesTheWindowDrawn)
{
    const auto dlg = Start(dir.PathOf("missing.xml"));
    ASSERT_EQ(dlg->questions.size(), 1);
    const QImage window = dlg->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(window.copy(0, 0, 128, 80), LoadBitmapResource(131)) << "the title picture";
}

TEST_F(WindowInUse, EscapeFromTheDrivesListAsksToQuit)
{
    const auto dlg = Start(game);
    dlg->ClickPage(PAGE_DRIVE_CHARTS);
    CDriveListGrid *drives = dlg->drivePage().drivesList();
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_Escape);
    EXPECT_EQ(dlg->questions, QStringList{"Do you want to quit Pylonix?"});
}

TEST_F(WindowInUse, CtrlPFromATablePrintsTheBoxScoreWhereThePrintDialogSays)
{
    const auto dlg = Start(game);
    EXPECT_EQ(dlg->boxScoreAction()->text(), QString("Box Score\u2026"));
    dlg->ClickPage(PAGE_DRIVE_CHARTS);
    dlg->drivePage().drivesList()->setFocus();
    QTest::keyClick(dlg->drivePage().drivesList(), Qt::Key_P, Qt::ControlModifier); // cancelled
    dlg->printTo = QString::fromStdString(dir.PathOf("box.pdf"));
    QTest::keyClick(dlg->drivePage().drivesList(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dlg->printDialogs, 2);
    QFile printed(dlg->printTo);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().contains("/FontFile2")) << "a PDF, its faces embedded";
}

TEST_F(WindowInUse, DriveTextBoxShowsItsFourLinesAtTheDefaultSize)
{
    const auto dlg = Start(game);
    dlg->ClickPage(PAGE_DRIVE_CHARTS);
    dlg->drivePage().chart()->TrackHover(0);
    QPlainTextEdit *text = dlg->drivePage().driveText();
    ASSERT_EQ(text->toPlainText().count('\n'), 3) << "a drive reads out in four lines";
    // The same text in a box twice as high shows nothing more below.
    const int height = text->height();
    const int shown = text->viewport()->height();
    EXPECT_GT(inkedRowsFrom(text->grab().toImage(), 0, 3), 0);
    EXPECT_FALSE(text->verticalScrollBar()->isVisible()) << "nothing to scroll to";
    // Only the text's own area: the taller box may show a scroll bar's arrows.
    text->resize(text->width(), 2 * height);
    EXPECT_EQ(inkedRowsFrom(text->viewport()->grab().toImage(), shown, 0), 0) << "a line is cut";
}

TEST_F(WindowInUse, ScoringOnlyFitsItsCheckBox)
{
    const auto dlg = Start(game);
    dlg->ClickPage(PAGE_DRIVE_CHARTS);
    const QWidget *box = dlg->Control(LayoutRole::ScoringOnly);
    ASSERT_NE(box, nullptr);
    EXPECT_LE(box->sizeHint().width(), box->width()) << "\"Scoring Only\" drawn shortened";
}

TEST_F(WindowInUse, PlaceSizesAndSplitterAreRememberedBetweenRuns)
{
    QRect placed;
    int textHeight = 0;
    {
        const auto first = Start(game);
        first->setGeometry(40, 30, 900, 640);
        placed = QRect(first->pos(), first->size());
        emit first->drivePage().splitter()->splitterMoved(30);
        textHeight = first->textHeight();
        qobject_cast<CPlayByPlayGrid *>(first->Control(LayoutRole::PlayByPlay))
            ->SetColumnWidth(CPlayByPlayGrid::kPlayColumn, 333);
        first->QuitConfirmed();
    }
    const auto second = Start(game, QSize());
    EXPECT_EQ(QRect(second->pos(), second->size()), placed);
    EXPECT_EQ(second->textHeight(), textHeight);
    EXPECT_EQ(qobject_cast<CPlayByPlayGrid *>(second->Control(LayoutRole::PlayByPlay))
                  ->GetColumnWidth(CPlayByPlayGrid::kPlayColumn),
              333);
}
