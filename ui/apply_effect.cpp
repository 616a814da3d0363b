#include "ui/apply_effect.h"

#include "platform/platform.h"
#include "registry/registry_writer.h"
#include "ui/effect_choice.h"
#include "ui/main_window.h"
#include "ui/messages.h"

namespace {

// Option2 is looked at only when Option1 is not selected.
EffectChoice SelectedChoice() {
    if (IsOptionSelected(ControlId::Option1)) return EffectChoice::Enable;
    if (IsOptionSelected(ControlId::Option2)) return EffectChoice::Disable;
    return EffectChoice::None;
}

// The version the system reports to this program, read once. The manifest
// names every version up to 10 and 11, so those report their own; a later
// one reports at least 6.2, which is all the choice of box needs.
WindowsVersion ReportedWindowsVersion() {
    static const WindowsVersion version = [] {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
#ifdef _MSC_VER
#pragma warning(suppress : 4996) // deprecated for its manifest-bound answer, which is the one wanted
#endif
        if (!GetVersionExA(&info)) return kWindowsVista;
        return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion};
    }();
    return version;
}

} // namespace

void ApplyEffectChoice() {
    // Every write is made even when one before it failed; the box then tells
    // of all of them, not just the last.
    std::vector<bool> results;
    for (const EffectWrite& write : EffectWritesFor(SelectedChoice()))
        results.push_back(WriteRegistryValue(kEffectRootKey, kEffectKeyPath, write.valueName, write.value,
                                             kEffectValueType));

    // Written, the values are those of the account the program runs as.
    const auto written = [](const char* text) {
        return TextWithAccountNote(text, ProgramAccountName(), SessionUserName());
    };
    switch (BoxAfterApply(results, ReportedWindowsVersion())) {
    case ApplyBox::RestartNeeded:
        ShowMessageBox(written(kRestartNeededText), kInformationIcon, kRestartNeededTitle);
        break;
    case ApplyBox::NoEffect: ShowMessageBox(written(kNoEffectText), kExclamationIcon, kNoEffectTitle); break;
    case ApplyBox::AccessError: ShowMessageBox(kAccessErrorText, kCriticalIcon, kAccessErrorTitle); break;
    }
}
