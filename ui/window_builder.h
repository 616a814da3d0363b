// Building the main window's contents from the layout: its fonts and its
// child windows, in tab order.
#pragma once

#include <windows.h>

// The class of the frame's window, which paints its own labels and shapes.
constexpr char kFrameClassName[] = "NUVFrame";

// Creates the fonts at the window's dpi, then the child windows with their
// fonts and colours, Option1 selected. False when any could not be made.
bool BuildMainWindowContents();

// The first control in tab order that can take the focus.
HWND FirstFocusableControl();
