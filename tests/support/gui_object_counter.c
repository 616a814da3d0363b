/* Counts the GDI and USER objects that a program makes and frees, for the
   soak test, which loads it into the running program: GetGuiResources,
   which counts them on Windows, answers 0 under Wine. Loaded, it stands in
   for the functions of the program's own import table that make or free
   such an object, and publishes how many of each type were made and freed
   since (gui_object_counts.h). What the system's own DLLs make inside the
   program, a message box's windows and fonts, is theirs, not counted. */
#include <windows.h>

#include <string.h>

#include "gui_object_counts.h"

static GuiObjectCounts* counts;

static void Count(LONG* table, DWORD type) {
    if (counts && type > 0 && type < kGuiObjectTypes) InterlockedIncrement(&table[type]);
}

static HGDIOBJ Made(HGDIOBJ object) {
    if (object) Count(counts->made, GetObjectType(object));
    return object;
}

static BOOL Freed(BOOL done, DWORD type) {
    if (done) Count(counts->freed, type);
    return done;
}

static HANDLE MadeUser(HANDLE object, DWORD type) {
    if (object) Count(counts->made, type);
    return object;
}

static HBRUSH WINAPI OnCreateSolidBrush(COLORREF colour) { return Made(CreateSolidBrush(colour)); }
static HBRUSH WINAPI OnCreateBrushIndirect(const LOGBRUSH* brush) { return Made(CreateBrushIndirect(brush)); }
static HBRUSH WINAPI OnCreateHatchBrush(int hatch, COLORREF colour) {
    return Made(CreateHatchBrush(hatch, colour));
}
static HBRUSH WINAPI OnCreatePatternBrush(HBITMAP bitmap) { return Made(CreatePatternBrush(bitmap)); }
static HPEN WINAPI OnCreatePen(int style, int width, COLORREF colour) {
    return Made(CreatePen(style, width, colour));
}
static HFONT WINAPI OnCreateFontIndirectA(const LOGFONTA* font) { return Made(CreateFontIndirectA(font)); }
static HFONT WINAPI OnCreateFontA(int height, int width, int escapement, int orientation, int weight,
                                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                                  DWORD precision, DWORD clip, DWORD quality, DWORD pitchAndFamily,
                                  LPCSTR face) {
    return Made(CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                            charSet, precision, clip, quality, pitchAndFamily, face));
}
static HRGN WINAPI OnCreateRectRgn(int left, int top, int right, int bottom) {
    return Made(CreateRectRgn(left, top, right, bottom));
}
static HRGN WINAPI OnCreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
    return Made(CreateRoundRectRgn(left, top, right, bottom, width, height));
}
static HRGN WINAPI OnCreateEllipticRgn(int left, int top, int right, int bottom) {
    return Made(CreateEllipticRgn(left, top, right, bottom));
}
static HBITMAP WINAPI OnCreateBitmap(int width, int height, UINT planes, UINT bits, const void* data) {
    return Made(CreateBitmap(width, height, planes, bits, data));
}
static HBITMAP WINAPI OnCreateCompatibleBitmap(HDC dc, int width, int height) {
    return Made(CreateCompatibleBitmap(dc, width, height));
}
static HDC WINAPI OnCreateCompatibleDC(HDC dc) { return Made(CreateCompatibleDC(dc)); }
static HDC WINAPI OnGetDC(HWND window) { return Made(GetDC(window)); }
static HDC WINAPI OnGetWindowDC(HWND window) { return Made(GetWindowDC(window)); }

static BOOL WINAPI OnDeleteObject(HGDIOBJ object) {
    const DWORD type = GetObjectType(object);
    return Freed(DeleteObject(object), type);
}
static BOOL WINAPI OnDeleteDC(HDC dc) {
    const DWORD type = GetObjectType(dc);
    return Freed(DeleteDC(dc), type);
}
static int WINAPI OnReleaseDC(HWND window, HDC dc) {
    const DWORD type = GetObjectType(dc);
    return Freed(ReleaseDC(window, dc), type);
}
/* A region given to a window is the system's from then on, which deletes it
   with the window or when the window takes another. */
static int WINAPI OnSetWindowRgn(HWND window, HRGN region, BOOL redraw) {
    const DWORD type = GetObjectType(region);
    return Freed(SetWindowRgn(window, region, redraw), type);
}

/* Icons, cursors and bitmaps loaded with LR_SHARED, or by LoadIcon and
   LoadCursor, are the system's to keep: not counted. */
static HANDLE WINAPI OnLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                                  UINT flags) {
    HANDLE image = LoadImageA(instance, name, type, width, height, flags);
    if (flags & LR_SHARED) return image;
    return type == IMAGE_BITMAP ? Made(image) : MadeUser(image, kIconOrCursor);
}
static HICON WINAPI OnCreateIconIndirect(ICONINFO* icon) {
    return MadeUser(CreateIconIndirect(icon), kIconOrCursor);
}
static HICON WINAPI OnCopyIcon(HICON icon) { return MadeUser(CopyIcon(icon), kIconOrCursor); }
static BOOL WINAPI OnDestroyIcon(HICON icon) { return Freed(DestroyIcon(icon), kIconOrCursor); }
static BOOL WINAPI OnDestroyCursor(HCURSOR cursor) { return Freed(DestroyCursor(cursor), kIconOrCursor); }
static HMENU WINAPI OnCreateMenu(void) { return MadeUser(CreateMenu(), kMenu); }
static HMENU WINAPI OnCreatePopupMenu(void) { return MadeUser(CreatePopupMenu(), kMenu); }
static BOOL WINAPI OnDestroyMenu(HMENU menu) { return Freed(DestroyMenu(menu), kMenu); }

static const struct {
    const char* name;
    const void* function;
} kStandIns[] = {
    {"CreateSolidBrush", OnCreateSolidBrush},
    {"CreateBrushIndirect", OnCreateBrushIndirect},
    {"CreateHatchBrush", OnCreateHatchBrush},
    {"CreatePatternBrush", OnCreatePatternBrush},
    {"CreatePen", OnCreatePen},
    {"CreateFontA", OnCreateFontA},
    {"CreateFontIndirectA", OnCreateFontIndirectA},
    {"CreateRectRgn", OnCreateRectRgn},
    {"CreateRoundRectRgn", OnCreateRoundRectRgn},
    {"CreateEllipticRgn", OnCreateEllipticRgn},
    {"CreateBitmap", OnCreateBitmap},
    {"CreateCompatibleBitmap", OnCreateCompatibleBitmap},
    {"CreateCompatibleDC", OnCreateCompatibleDC},
    {"GetDC", OnGetDC},
    {"GetWindowDC", OnGetWindowDC},
    {"DeleteObject", OnDeleteObject},
    {"DeleteDC", OnDeleteDC},
    {"ReleaseDC", OnReleaseDC},
    {"SetWindowRgn", OnSetWindowRgn},
    {"LoadImageA", OnLoadImageA},
    {"CreateIconIndirect", OnCreateIconIndirect},
    {"CopyIcon", OnCopyIcon},
    {"DestroyIcon", OnDestroyIcon},
    {"DestroyCursor", OnDestroyCursor},
    {"CreateMenu", OnCreateMenu},
    {"CreatePopupMenu", OnCreatePopupMenu},
    {"DestroyMenu", OnDestroyMenu},
};

static const void* StandInFor(const char* name) {
    for (size_t i = 0; i < sizeof kStandIns / sizeof kStandIns[0]; ++i)
        if (strcmp(kStandIns[i].name, name) == 0) return kStandIns[i].function;
    return NULL;
}

/* Every import of the program bound by name whose function has a stand-in
   is bound to the stand-in instead. */
static void StandInForImports(HMODULE program) {
    BYTE* const base = (BYTE*)program;
    const IMAGE_NT_HEADERS* headers =
        (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY* imports =
        &headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports->VirtualAddress) return;
    for (const IMAGE_IMPORT_DESCRIPTOR* dll =
             (const IMAGE_IMPORT_DESCRIPTOR*)(base + imports->VirtualAddress);
         dll->Name; ++dll) {
        const IMAGE_THUNK_DATA* names =
            (const IMAGE_THUNK_DATA*)(base +
                                      (dll->OriginalFirstThunk ? dll->OriginalFirstThunk : dll->FirstThunk));
        IMAGE_THUNK_DATA* bound = (IMAGE_THUNK_DATA*)(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++bound) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const void* standIn = StandInFor(
                (const char*)((const IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData))->Name);
            DWORD protection;
            if (!standIn ||
                !VirtualProtect(&bound->u1.Function, sizeof bound->u1.Function, PAGE_READWRITE, &protection))
                continue;
            bound->u1.Function = (ULONG_PTR)standIn;
            VirtualProtect(&bound->u1.Function, sizeof bound->u1.Function, protection, &protection);
            InterlockedIncrement(&counts->hooked);
        }
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char name[64];
    wsprintfA(name, NUV_GUI_COUNTS_NAME, GetCurrentProcessId());
    /* The mapping stays open as long as the process: the test reads it. */
    const HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof *counts, name);
    counts = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof *counts) : NULL;
    if (!counts) return FALSE;
    StandInForImports(GetModuleHandleA(NULL));
    return TRUE;
}
