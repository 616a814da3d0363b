#include "support/handle_count.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "support/waiting.h"

namespace {

// The system's handle table as NtQuerySystemInformation returns it. The
// process's own handle count would be simpler, but Wine keeps it at 0.
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

struct HandleEntry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

} // namespace

long CountProcessHandles(DWORD processId) {
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<unsigned char> buffer(1 << 16);
    LONG status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                           &needed)) == kStatusInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].processId == processId) ++count;
    return count;
}

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

BOOL CALLBACK CountProcessWindow(HWND window, LPARAM search) {
    const auto& [processId, count] = *reinterpret_cast<std::pair<DWORD, long*>*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) {
        ++*count;
        EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(count));
    }
    return TRUE;
}

} // namespace

long CountProcessWindows(DWORD processId) {
    long count = 0;
    std::pair<DWORD, long*> search{processId, &count};
    EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&search));
    return count;
}

// The counter is loaded by a thread started in the program at LoadLibraryA:
// kernel32 lies at one address in every process of a session that has the
// same width.
GuiObjectCounter::GuiObjectCounter(HANDLE process, DWORD processId, const std::string& counterLibrary) {
    void* const path =
        VirtualAllocEx(process, nullptr, counterLibrary.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    if (!path) return;
    if (WriteProcessMemory(process, path, counterLibrary.c_str(), counterLibrary.size() + 1, nullptr))
        if (const HANDLE thread = CreateRemoteThread(process, nullptr, 0, loadLibrary, path, 0, nullptr)) {
            WaitForSingleObject(thread, 10000 * TimeScale());
            CloseHandle(thread);
        }
    VirtualFreeEx(process, path, 0, MEM_RELEASE);
    char name[64];
    std::snprintf(name, sizeof name, NUV_GUI_COUNTS_NAME, processId);
    mapping_ = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (mapping_)
        counts_ = static_cast<const GuiObjectCounts*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
}

GuiObjectCounter::~GuiObjectCounter() {
    if (counts_) UnmapViewOfFile(counts_);
    if (mapping_) CloseHandle(mapping_);
}
