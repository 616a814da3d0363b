#include "ui/apply_effect.h"

#include "app/platform.h"
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

} // namespace

void ApplyEffectChoice() {
    // Every write is made even when one before it failed; the box then tells
    // of all of them, not just the last.
    std::vector<bool> results;
    for (const EffectWrite& write : EffectWritesFor(SelectedChoice()))
        results.push_back(WriteRegistryValue(kEffectRootKey, kEffectKeyPath, write.valueName, write.value,
                                             kEffectValueType));

    if (ShowsRestartBox(results))
        ShowMessageBox(kRestartNeededText, kInformationIcon, kRestartNeededTitle);
    else
        ShowMessageBox(kAccessErrorText, kCriticalIcon, kAccessErrorTitle);
}
