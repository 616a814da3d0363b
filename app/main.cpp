// The process entry: load the main window, whose load event prepares and
// shows it, then deliver its events until it is gone.
#include <windows.h>

#include "platform/platform.h"
#include "platform/timing_marks.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#if defined(__GLIBCXX__)
#include <cstdlib>

// An exception that escapes everything ends the program at once. The
// runtime's default handler would describe it, demangled, on a console this
// program does not have, and would bring the whole demangler into the file.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TimingMark("entry");
    LimitLibrarySearchToSystem(); // before the window loads any DLL
    if (!LoadMainWindow()) ReportStartupProblem();
    return RunMessageLoop();
}
