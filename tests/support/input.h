// Real input, as a user gives it: the pointer, its buttons and the keys.
#pragma once

#include <windows.h>

// A point of a window's client area on the screen.
POINT ClientPointOnScreen(HWND window, int x, int y);

// The pointer moved to the point, a button pressed and released, each
// followed by a pause for the program to take it in.
enum class MouseButton { Left, Right };
constexpr DWORD kInputPause = 60;
void PressMouse(POINT screen, MouseButton button, DWORD pause = kInputPause);
void ReleaseMouse(POINT screen, MouseButton button, DWORD pause = kInputPause);
void ClickMouse(POINT screen, MouseButton button = MouseButton::Left, DWORD pause = kInputPause);

// A key pressed and released, with modifier keys held around it.
void TypeKey(WORD key, WORD modifier = 0);

// The control with the keyboard focus in the thread that owns window.
HWND FocusOf(HWND window);
