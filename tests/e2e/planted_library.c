// Stands in for a DLL that someone left beside the program under the name of
// one it uses. Should it ever be loaded, it leaves NAME.loaded beside itself.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    lstrcpyA(path + length, ".loaded");
    const HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(mark, "loaded", 6, &written, NULL);
    CloseHandle(mark);
    return TRUE;
}
