// What APPLY writes for each choice and which box it then shows, apart from
// the registry and the window.
#pragma once

#include <string>
#include <vector>

enum class EffectChoice { Enable, Disable, None };

struct EffectWrite {
    const char* valueName;
    const char* value;
};

// The writes for a choice, in order: Composition, then CompositionPolicy;
// none when no option is selected.
std::vector<EffectWrite> EffectWritesFor(EffectChoice choice);

// Whether writes were made and every one of them succeeded.
bool AllWritesSucceeded(const std::vector<bool>& writeResults);

// The version of Windows the system reports, as its major and minor numbers.
struct WindowsVersion {
    unsigned long major;
    unsigned long minor;
};

// What a version that cannot be read counts as: the system the program is
// made for.
constexpr WindowsVersion kWindowsVista{6, 0};

// The boxes APPLY ends with.
enum class ApplyBox { RestartNeeded, NoEffect, AccessError };

// The error box unless every write succeeded. Then the restart box on Vista
// and 7; Windows 8 (6.2) and every later version keep the desktop composed
// whatever the two values say, and the box says so instead.
ApplyBox BoxAfterApply(const std::vector<bool>& writeResults, WindowsVersion version);

// The text of the box after a successful APPLY, with one line added when the
// program runs as another account than the user signed in to its session
// (started with "Run As Administrator" and another account's password): the
// values went to that account's settings, not the user's, and the line names
// both. The text as it is when the two are one (account names ignore case),
// or when either name could not be read.
std::string TextWithAccountNote(const std::string& text, const std::string& programAccount,
                                const std::string& sessionUser);
