#include "ui/effect_choice.h"

#include <algorithm>

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

namespace {

// Windows compares account names without regard to case.
bool SameAccountName(const std::string& a, const std::string& b) {
    const auto folded = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](unsigned char x, unsigned char y) { return folded(x) == folded(y); });
}

} // namespace

std::string TextWithAccountNote(const std::string& text, const std::string& programAccount,
                                const std::string& sessionUser) {
    if (programAccount.empty() || sessionUser.empty() || SameAccountName(programAccount, sessionUser))
        return text;
    return text + "\r\n\r\nThese settings were written for the account \"" + programAccount +
           "\", which runs this program, not for \"" + sessionUser + "\", who is signed in.";
}
