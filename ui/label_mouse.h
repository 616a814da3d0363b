// Mouse messages of a container turned into the mouse-down, mouse-up and
// click events of the labels drawn on it.
#pragma once

#include <windows.h>

#include "ui/layout.h"

// Handles the button and capture messages of a container; false for any
// other message.
bool HandleLabelMouseMessage(HWND hwnd, ControlId container, UINT message, LPARAM lParam);
