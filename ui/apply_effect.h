// The program's main operation: switch the desktop compositing effects of
// the current user as the option buttons say.
#pragma once

constexpr char kEffectRootKey[] = "HKEY_CURRENT_USER";
constexpr char kEffectKeyPath[] = "Software\\Microsoft\\Windows\\DWM";
constexpr char kEffectValueType[] = "Dword";

// Writes Composition and CompositionPolicy for the selected option (1 and 2
// to enable, 0 and 0 to disable) and tells the user the outcome: when both
// values were written, the restart box, or on Windows 8 and later the box
// that says they take no effect there; the error box otherwise, also when
// neither option is selected and nothing was written.
void ApplyEffectChoice();
