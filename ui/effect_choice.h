// What APPLY writes for each choice and which box it then shows, apart from
// the registry and the window.
#pragma once

#include <vector>

enum class EffectChoice { Enable, Disable, None };

struct EffectWrite {
    const char* valueName;
    const char* value;
};

// The writes for a choice, in order: Composition, then CompositionPolicy;
// none when no option is selected.
std::vector<EffectWrite> EffectWritesFor(EffectChoice choice);

// The restart box is shown only when writes were made and every one of them
// succeeded; otherwise the error box.
bool ShowsRestartBox(const std::vector<bool>& writeResults);
