#include "app/CPylonixApp.h"

#include "platform/SignalExit.h"

int CPylonixApp::InitInstance(const WindowOptions &options, const WindowView &view)
{
    CPylonixDlg dialog(options);
    dialog.resize(view.client.expandedTo(kMinimumClientSize));
    // Stopped by the user or the system, the program ends as if the user had
    // confirmed the quit, with the status shells expect.
    int stoppedBy = 0;
    SignalExit stopSignals;
    QObject::connect(&stopSignals, &SignalExit::received, &dialog, [&](int signalNumber) {
        stoppedBy = signalNumber;
        dialog.QuitConfirmed();
    });
    if (!dialog.OnInitDialog())
        return 2;
    dialog.ClickPage(view.page);
    if (stoppedBy == 0)
        dialog.exec();
    return stoppedBy != 0 ? SignalExit::ExitStatusFor(stoppedBy) : 0;
}
