// The main window NUV2: built from the description in layout.h, its labels
// and shapes painted by their containers, its events handed to the handlers
// in handlers.h.
#pragma once

#include <windows.h>

#include "ui/layout.h"

// Creates the main window with all its controls, not yet shown, and raises its
// load event. False when the window could not be created.
bool LoadMainWindow();

// The main window, loaded first when it does not exist yet; null when that
// fails.
HWND MainWindowHandle();

// Shows the main window, modeless and without owner, with the keyboard focus
// on the first control that takes it. False when it could not be shown.
bool ShowMainWindow();

// Unloads the main window (closing it ends the message loop).
void UnloadMainWindow();

// Runs the message loop, with dialog keyboard navigation, until the main
// window is gone. Returns the process exit code.
int RunMessageLoop();

// The child window of a push button, frame or option button; null for the
// windowless controls or when the window does not exist.
HWND ControlWindow(ControlId id);

// The selection state of an option button.
bool IsOptionSelected(ControlId option);

// A label's border style: 0 none, 1 a sunken edge inside its rectangle.
int LabelBorderStyle(ControlId label);
void SetLabelBorderStyle(ControlId label, int style);

// The display's dots per inch, read when the window was made: the window's
// lengths are its twips at this scale.
int MainWindowDpi();

// A control's rectangle in its container's pixels, at the window's dpi.
PixelRect ControlPixelRect(ControlId id);
