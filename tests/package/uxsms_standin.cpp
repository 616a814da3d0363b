// Stands in for the Desktop Window Manager Session Manager service (UxSms)
// in the tests of Skellan.BAT. Its one argument says how it behaves:
// - "restarts": stops when told, and starts again when asked;
// - "unstoppable": accepts no stop;
// - "once": stops when told, then will not start again: it starts only while
//   the file beside it named after it with ".started" does not exist, and
//   makes that file when it does.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

SERVICE_STATUS_HANDLE g_handle = nullptr;
SERVICE_STATUS g_status{SERVICE_WIN32_OWN_PROCESS, SERVICE_START_PENDING, 0, NO_ERROR, 0, 0, 0};
HANDLE g_stopped = nullptr;
bool g_stoppable = true;

void Report(DWORD state) {
    g_status.dwCurrentState = state;
    g_status.dwControlsAccepted = state == SERVICE_RUNNING && g_stoppable ? SERVICE_ACCEPT_STOP : 0;
    SetServiceStatus(g_handle, &g_status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
    if (control == SERVICE_CONTROL_INTERROGATE) return NO_ERROR;
    if (control != SERVICE_CONTROL_STOP || !g_stoppable) return ERROR_CALL_NOT_IMPLEMENTED;
    Report(SERVICE_STOPPED);
    SetEvent(g_stopped);
    return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, char**) {
    g_handle = RegisterServiceCtrlHandlerExA("UxSms", Control, nullptr);
    if (!g_handle) return;
    Report(SERVICE_RUNNING);
    WaitForSingleObject(g_stopped, INFINITE);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "restarts";
    if (mode == "once") {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        const std::string started = std::string(self) + ".started";
        const HANDLE mark = CreateFileA(started.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (mark == INVALID_HANDLE_VALUE) return 1; // started before: refuse
        CloseHandle(mark);
    }
    g_stoppable = mode != "unstoppable";
    g_stopped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char name[] = "UxSms";
    const SERVICE_TABLE_ENTRYA services[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(services) ? 0 : 1;
}
