// Makes a window translucent with one alpha for all of it.
#pragma once

#include <windows.h>

// Statuses of SetWindowTranslucency.
constexpr long kTranslucencySet = 0;        // the style and the alpha were set
constexpr long kNegativeAlpha = 1;          // nothing was changed
constexpr long kTranslucencyStepFailed = 2; // a step failed; the steps after it still ran

// Adds the layered style to the window and gives it the alpha (0 clear to
// 255 opaque). Every step is tried even when one before it failed. A step
// fails when its input cannot be what the platform takes (an alpha above 255
// does not fit the byte the alpha is passed as) or when the platform lacks
// the function (a system without layered windows). A call the platform
// makes and refuses, such as a zero return, is not looked at.
long SetWindowTranslucency(HWND window, const short& alpha);
