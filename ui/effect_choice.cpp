#include "ui/effect_choice.h"

std::vector<EffectWrite> EffectWritesFor(EffectChoice choice) {
    switch (choice) {
    case EffectChoice::Enable: return {{"Composition", "1"}, {"CompositionPolicy", "2"}};
    case EffectChoice::Disable: return {{"Composition", "0"}, {"CompositionPolicy", "0"}};
    case EffectChoice::None: break;
    }
    return {};
}

bool ShowsRestartBox(const std::vector<bool>& writeResults) {
    if (writeResults.empty()) return false;
    for (bool written : writeResults)
        if (!written) return false;
    return true;
}
