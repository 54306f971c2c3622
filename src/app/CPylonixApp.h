#pragma once

#include "app/CPylonixDlg.h"
#include "app/WindowExport.h"

#include <functional>

// The application: runs the main window as a modal dialog; the program ends
// when it closes.
class CPylonixApp
{
public:
    // Shows the main window with `options` at the client size and page of
    // `view` until the user quits. Needs a QApplication. Returns the
    // program's exit status.
    // `beforeLoad` runs with the window made and its game not yet loaded;
    // false from it ends the program with status 1.
    int InitInstance(const WindowOptions &options, const WindowView &view,
                     const std::function<bool(CPylonixDlg &)> &beforeLoad = {});
};
