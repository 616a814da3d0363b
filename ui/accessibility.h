// What a screen reader finds in the main window's two containers, the client
// area and the frame: their child windows and, beside them, the labels they
// paint, as buttons, a link and text, in tab order. A label's default action
// does what its click does.
#pragma once

#include <windows.h>

#include "ui/layout.h"

// Posted to the main window by a label's default action, with the label's id
// in wParam: the command runs once the screen reader's call has returned, so
// a box it opens never holds the screen reader.
constexpr UINT kLabelActionMessage = WM_APP + 1;

// Answers WM_GETOBJECT for a container's window. False when the request is
// not for the client area or the system's accessibility libraries cannot be
// had: the platform's own answer then stands.
bool AnswerGetObject(HWND window, ControlId container, WPARAM flags, LPARAM objectId, LRESULT* result);
