#include "ui/startup.h"

#include <windows.h>

#include <stdexcept>

#include "platform/platform.h"
#include "platform/timing_marks.h"
#include "platform/translucency.h"
#include "ui/main_window.h"

namespace {

HWND RequireMainWindow() {
    const HWND window = MainWindowHandle();
    if (!window) throw std::runtime_error("the main window could not be created");
    return window;
}

void PrepareOrThrow() {
    HWND window = RequireMainWindow();
    const short alpha = kMainWindowAlpha;
    SetWindowTranslucency(window, alpha); // an opaque window is no reason to stop
    TimingMark("translucent");

    ShowMainWindow();
    TimingMark("shown");

    window = RequireMainWindow();
    // The outline is scaled as the layout is, so that every control stays
    // inside it at any display scale.
    const Outline o = ToPixels(kMainWindow.outline, MainWindowDpi());
    const HRGN region = CreateRoundRectRgn(o.left, o.top, o.right, o.bottom, o.cornerWidth, o.cornerHeight);
    // From here on the region belongs to the window, unless it was refused.
    if (region && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
    TimingMark("region");
}

} // namespace

void PrepareMainWindow() {
    try {
        PrepareOrThrow();
    } catch (const std::exception&) {
        ReportStartupProblem();
    }
}

void ReportStartupProblem() {
    ShowMessageBox(kStartupProblemText, kNoIcon, kStartupProblemTitle);
    EndProgram();
}
