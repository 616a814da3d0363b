#include "ui/effect_choice.h"

std::vector<EffectWrite> EffectWritesFor(EffectChoice choice) {
    switch (choice) {
    case EffectChoice::Enable: return {{"Composition", "1"}, {"CompositionPolicy", "2"}};
    case EffectChoice::Disable: return {{"Composition", "0"}, {"CompositionPolicy", "0"}};
    case EffectChoice::None: break;
    }
    return {};
}

bool AllWritesSucceeded(const std::vector<bool>& writeResults) {
    if (writeResults.empty()) return false;
    for (bool written : writeResults)
        if (!written) return false;
    return true;
}

namespace {

bool AlwaysComposesDesktop(WindowsVersion version) {
    return version.major > 6 || (version.major == 6 && version.minor >= 2);
}

} // namespace

ApplyBox BoxAfterApply(const std::vector<bool>& writeResults, WindowsVersion version) {
    if (!AllWritesSucceeded(writeResults)) return ApplyBox::AccessError;
    return AlwaysComposesDesktop(version) ? ApplyBox::NoEffect : ApplyBox::RestartNeeded;
}
