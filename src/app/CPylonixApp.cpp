#include "app/CPylonixApp.h"

int CPylonixApp::InitInstance(const WindowOptions &options)
{
    CPylonixDlg dialog(options);
    dialog.resize(1024, 720);
    if (!dialog.OnInitDialog())
        return 2;
    dialog.exec();
    return 0;
}
