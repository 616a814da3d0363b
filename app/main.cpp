// The process entry: load the main window, whose load event prepares and
// shows it, then deliver its events until it is gone.
#include <windows.h>

#include "app/startup.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!LoadMainWindow()) ReportStartupProblem();
    return RunMessageLoop();
}
