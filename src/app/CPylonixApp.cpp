#include "app/CPylonixApp.h"

int CPylonixApp::InitInstance(const WindowOptions &options, const WindowView &view)
{
    CPylonixDlg dialog(options);
    dialog.resize(view.client.expandedTo(kMinimumClientSize));
    if (!dialog.OnInitDialog())
        return 2;
    dialog.ClickPage(view.page);
    dialog.exec();
    return 0;
}
