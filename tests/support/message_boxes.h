// The message boxes of a program under test: found, read and closed as a
// user would, from another process.
#pragma once

#include <windows.h>

#include <string>

// Waits for a message box of the process with that title, and, unless
// painted is false, for it to show painted on the screen; null when none
// came within the time.
HWND WaitForMessageBox(DWORD processId, const std::string& title, DWORD milliseconds = 5000,
                       bool painted = true);

// Any message box of the process, or null.
HWND FindMessageBox(DWORD processId);

// The text a message box shows.
std::string MessageBoxText(HWND box);

// The icon a message box shows, compared with a system icon by its pixels
// once the box has painted it.
bool MessageBoxShowsIcon(HWND box, const char* systemIcon);

// Presses the box's OK button (with the Enter key: as a user at the keyboard
// does) and waits until the box is gone and the window it was shown for is
// enabled and in the foreground again, ready for input; false when that did
// not come within the time.
bool CloseMessageBox(HWND box, bool withEnterKey = false);
