#include "app/CPylonixDlg.h"

#include "boxscore/BoxScoreWriter.h"
#include "platform/Fonts.h"
#include "views/BoxScoreContent.h"
#include "views/TextWrapper.h"

#include <QAction>
#include <QPrintDialog>
#include <QPrinter>

void CPylonixDlg::CreateBoxScoreAction()
{
    boxScoreAction_ = new QAction(QStringLiteral("Box Score\u2026"), this);
    // Ctrl+P wherever the focus is in the window, the tables included.
    boxScoreAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    boxScoreAction_->setShortcutContext(Qt::WindowShortcut);
    connect(boxScoreAction_, &QAction::triggered, this, [this] { PrintBoxScore(); });
    addAction(boxScoreAction_);
}

bool CPylonixDlg::RunPrintDialog(QPrinter &printer)
{
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print Box Score"));
    return dialog.exec() == QDialog::Accepted;
}

void CPylonixDlg::PrintBoxScore()
{
    if (reloadCount() == 0)
        return; // no game read yet: nothing to print
    QPrinter printer(QPrinter::HighResolution);
    // The layout keeps its own margins on the whole sheet.
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(BoxScorePageSize(BoxScorePaper::Letter), QPageLayout::Portrait, QMarginsF()));
    printer.setDocName(QStringLiteral("Box Score"));
    if (!RunPrintDialog(printer))
        return;
    // Built once the dialog is closed: a reload while it was open is printed.
    const BoxScoreContent content =
        BoxScoreContent::Build(*session_, settings_.showTOP, TextWrapper(DialogFont()));
    if (!BoxScoreWriter::Paint(content, printer) && MayPrompt())
        QMessageBox::warning(this, QStringLiteral("Torvell Pylonix"),
                             QStringLiteral("Pylonix couldn't print the box score."));
}
