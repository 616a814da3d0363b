#include "platform/translucency.h"

namespace {

using SetLayeredAttributesFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up when called, so that a system without layered windows fails this
// step only instead of refusing to start the program.
SetLayeredAttributesFunction FindSetLayeredWindowAttributes() {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<SetLayeredAttributesFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
}

} // namespace

long SetWindowTranslucency(HWND window, const short& alpha) {
    if (alpha < 0) return kNegativeAlpha;
    bool stepFailed = false;

    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    style |= WS_EX_LAYERED;
    SetWindowLongA(window, GWL_EXSTYLE, style);

    const SetLayeredAttributesFunction setAttributes = FindSetLayeredWindowAttributes();
    if (alpha > 255 || !setAttributes)
        stepFailed = true;
    else
        setAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);

    return stepFailed ? kTranslucencyStepFailed : kTranslucencySet;
}
