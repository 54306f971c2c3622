#pragma once

#include "app/CPylonixDlg.h"

// The application: runs the main window as a modal dialog; the program ends
// when it closes.
class CPylonixApp
{
public:
    // Shows the main window with `options` until the user quits. Needs a
    // QApplication. Returns the program's exit status.
    int InitInstance(const WindowOptions &options);
};
