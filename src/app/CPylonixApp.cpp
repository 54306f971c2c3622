#include "app/CPylonixApp.h"

#include "platform/SignalExit.h"

#include <QApplication>
#include <QDialog>

namespace
{

// Ends every menu and modal dialog or message box that is open, each of which
// runs an event loop of its own above the main window's: none of them would
// otherwise return and let the program end. At most `limit` of them.
void closeOpenPrompts(int limit = 64)
{
    for (int closed = 0; closed < limit; ++closed) {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popup->close();
            continue;
        }
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!modal || !modal->isVisible())
            return;
        // done() ends the dialog's own loop; the main window's reject()
        // would ask whether to quit.
        if (dialog)
            dialog->done(QDialog::Rejected);
        else
            modal->close();
    }
}

} // namespace

int CPylonixApp::InitInstance(const WindowOptions &options, const WindowView &view,
                              const std::function<bool(CPylonixDlg &)> &beforeLoad)
{
    CPylonixDlg dialog(options);
    dialog.resize(view.options.client.expandedTo(kMinimumClientSize));
    // Stopped by the user or the system, the program ends as if the user had
    // confirmed the quit, with the status shells expect, also while a prompt
    // (the Configure dialog, a question) is open.
    int stoppedBy = 0;
    SignalExit stopSignals;
    QObject::connect(&stopSignals, &SignalExit::received, &dialog, [&](int signalNumber) {
        if (stoppedBy != 0)
            return;
        stoppedBy = signalNumber;
        dialog.QuitConfirmed();
        closeOpenPrompts();
    });
    if (beforeLoad && !beforeLoad(dialog))
        return 1;
    if (!dialog.OnInitDialog())
        return 2;
    dialog.ClickPage(view.page);
    if (stoppedBy == 0)
        dialog.exec();
    return stoppedBy != 0 ? SignalExit::ExitStatusFor(stoppedBy) : 0;
}
