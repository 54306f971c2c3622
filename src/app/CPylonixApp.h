#pragma once

#include "app/CPylonixDlg.h"
#include "app/WindowExport.h"

// The application: runs the main window as a modal dialog; the program ends
// when it closes.
class CPylonixApp
{
public:
    // Shows the main window with `options` at the client size and page of
    // `view` until the user quits. Needs a QApplication. Returns the
    // program's exit status.
    int InitInstance(const WindowOptions &options, const WindowView &view);
};
