#include "support/handle_count.h"

#include <vector>

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
