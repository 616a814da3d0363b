// Skellan.BAT, as shipped, run by the system's cmd against a stand-in for
// the Desktop Window Manager Session Manager service (UxSms): what it says,
// how it ends and what it leaves the service as.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/running_program.h"
#include "support/waiting.h"
#include "support/wine_settings.h"

namespace {

// The service is registered and started here; an earlier run that ended
// half-way may have left it registered.
class StandInService {
public:
    explicit StandInService(const char* mode)
        : manager_(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {
        Remove();
        DeleteFileA((BesideTheTest("uxsms_standin.exe") + ".started").c_str());
        if (!mode) return;
        const std::string command = "\"" + BesideTheTest("uxsms_standin.exe") + "\" " + mode;
        service_ =
            CreateServiceA(manager_, "UxSms", "Desktop Window Manager Session Manager", SERVICE_ALL_ACCESS,
                           SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                           command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
        started_ = service_ && StartServiceA(service_, 0, nullptr);
        if (started_) processId_ = Status().dwProcessId;
    }
    ~StandInService() {
        if (service_) CloseServiceHandle(service_); // a service goes with its last handle
        Remove();
        CloseServiceHandle(manager_);
    }
    StandInService(const StandInService&) = delete;
    StandInService& operator=(const StandInService&) = delete;

    bool started() const { return started_; }
    DWORD processId() const { return processId_; }
    SERVICE_STATUS_PROCESS Status() const {
        SERVICE_STATUS_PROCESS status{};
        DWORD size = 0;
        if (service_)
            QueryServiceStatusEx(service_, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                 sizeof status, &size);
        return status;
    }

private:
    // Ends the service's process, whether it takes a stop or not, and waits
    // until the service is gone.
    void Remove() {
        const SC_HANDLE old = OpenServiceA(manager_, "UxSms", SERVICE_ALL_ACCESS);
        if (!old) return;
        SERVICE_STATUS_PROCESS status{};
        DWORD size = 0;
        QueryServiceStatusEx(old, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                             &size);
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, status.dwProcessId)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
        DeleteService(old);
        CloseServiceHandle(old);
        WaitUntil([&] {
            const SC_HANDLE gone = OpenServiceA(manager_, "UxSms", SERVICE_QUERY_STATUS);
            if (gone) CloseServiceHandle(gone);
            return !gone;
        });
    }

    SC_HANDLE manager_;
    SC_HANDLE service_ = nullptr;
    bool started_ = false;
    DWORD processId_ = 0;
};

// Runs the batch file with cmd in the folder given, nothing to read (its
// pauses return at once), and returns what it wrote and its exit code.
std::string RunBatch(const std::string& file, const std::string& folder, DWORD* exitCode) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const HANDLE nothing = CreateFileA("NUL", GENERIC_READ, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = startup.hStdError = writeEnd;
    std::string line = "cmd.exe /c \"" + file + "\"";
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    PROCESS_INFORMATION process{};
    std::string output;
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                       &startup, &process)) {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read) output.append(buffer, read);
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    for (const HANDLE handle : {readEnd, writeEnd, nothing})
        if (handle) CloseHandle(handle);
    return output;
}

constexpr char kNotThere[] =
    "The Desktop Window Manager Session Manager service (UxSms) is not on this system.";
constexpr char kDone[] = "Done: the desktop now uses the settings you applied.";
constexpr char kNotStopped[] = "The Desktop Window Manager Session Manager could not be stopped.\r\n"
                               "Restart your PC to apply the settings.";
constexpr char kNotStartedAgain[] = "The Desktop Window Manager Session Manager did not start again.\r\n"
                                    "Restart your PC to start it with the settings you applied.";
constexpr char kNothingChanged[] = "Nothing was changed.";

// Wine's "net session" always succeeds, as it does for an administrator, so
// the batch's check for administrator rights is not reached here. It is
// started in the folder it was unpacked to, as a double-click starts it, and
// stand-ins for the commands it runs are left there: cmd looks for a bare
// command name in the current folder first.
TEST(SkellanBat, TellsWhatBecameOfTheServiceAndRunsNothingPlantedBesideIt) {
    if (!RunningUnderWine()) GTEST_SKIP() << "replaces the UxSms service; runs under Wine only";
    std::printf("Not tested here: the check for administrator rights (Wine's net session always succeeds)\n");
    const struct {
        const char* mode; // null: no service
        DWORD exitCode;
        std::vector<const char*> said, notSaid;
        DWORD stateAfter; // 0: no service
        bool sameProcess;
    } cases[] = {
        {nullptr, 1, {kNotThere, kNothingChanged}, {kDone}, 0, false},
        {"restarts", 0, {kDone}, {kNothingChanged}, SERVICE_RUNNING, false},
        {"unstoppable", 1, {kNotStopped, kNothingChanged}, {kDone, kNotStartedAgain}, SERVICE_RUNNING, true},
        {"once", 1, {kNotStartedAgain}, {kNothingChanged, kDone}, SERVICE_STOPPED, false},
    };
    RunningProgram unpacked(BesideTheTest("Skellan.BAT"));
    for (const char* planted : {"net.bat", "net.cmd", "sc.bat", "sc.cmd"})
        ASSERT_TRUE(unpacked.AddBeside(BesideTheTest("planted_command.bat"), planted));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode ? c.mode : "no service");
        StandInService service(c.mode);
        if (c.mode) {
            ASSERT_TRUE(service.started());
        }
        DWORD exitCode = 99;
        const std::string output =
            RunBatch(unpacked.folder() + "\\Skellan.BAT", unpacked.folder(), &exitCode);
        EXPECT_EQ(exitCode, c.exitCode) << output;
        EXPECT_EQ(unpacked.ReadBeside("planted-commands-ran.txt"), "") << "a planted command ran";
        for (const char* line : c.said)
            EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
        for (const char* line : c.notSaid)
            EXPECT_EQ(output.find(line), std::string::npos) << line << "\n" << output;
        if (!c.mode) continue;
        const SERVICE_STATUS_PROCESS after = service.Status();
        EXPECT_EQ(after.dwCurrentState, c.stateAfter);
        if (c.stateAfter == SERVICE_RUNNING) {
            EXPECT_EQ(after.dwProcessId == service.processId(), c.sameProcess) << "started again";
        }
    }
}

} // namespace
