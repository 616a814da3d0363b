// What the tests set in Wine for the programs they start: the environment,
// the system's shell and the Windows version. Each setting is put back when
// its object goes.
#pragma once

#include <windows.h>

#include <string>

// True under Wine, where the registry and the screen are the test set-up's own.
bool RunningUnderWine();

// An environment variable of this process, which the programs it starts
// inherit, set while this lives and put back after.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const std::string& name, const std::string& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string name_, previous_;
    bool hadValue_ = false;
};

// Wine's DLL overrides as they are now, with more appended.
std::string WineDllOverridesWith(const std::string& more);

// While it lives, a recorder stands in for the system's shell: it replaces
// explorer.exe in the Windows folder (put back at the end), Wine is told to
// run that file rather than its built-in shell, and the programs started
// meanwhile write their records to recordFile. It changes the Wine prefix,
// so it is for runs under Wine only.
class SystemShellStandIn {
public:
    SystemShellStandIn(const std::string& recorder, const std::string& recordFile);
    ~SystemShellStandIn();
    SystemShellStandIn(const SystemShellStandIn&) = delete;
    SystemShellStandIn& operator=(const SystemShellStandIn&) = delete;

    bool ready() const { return ready_; }
    const std::string& shell() const { return shell_; }

private:
    std::string shell_, saved_;
    bool ready_ = false;
    ScopedEnvironmentVariable overrides_, record_;
};

// While it lives, Wine tells the programs started meanwhile that the system
// is the Windows version named as in Wine's own setting ("vista", "win7",
// "win8", "win81", "win10"); the prefix's setting is put back at the end.
class ScopedWineVersion {
public:
    explicit ScopedWineVersion(const std::string& version);
    ~ScopedWineVersion();
    ScopedWineVersion(const ScopedWineVersion&) = delete;
    ScopedWineVersion& operator=(const ScopedWineVersion&) = delete;

    bool ready() const { return ready_; }

private:
    HKEY key_ = nullptr;
    std::string previous_;
    bool hadValue_ = false, ready_ = false;
};
