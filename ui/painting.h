// Painting the main window's two containers: the client area and the frame.
#pragma once

#include <windows.h>

#include "ui/layout.h"

// Answers WM_PAINT of a container: its background, then its labels and
// shapes from the back of the list to the front. Its child windows lie on top.
void PaintContainer(HWND hwnd, ControlId container);
