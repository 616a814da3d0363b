#include "ui/oleacc_functions.h"

#include <iterator>

#include "platform/platform.h"

const OleaccFunctions& Oleacc() {
    static const OleaccFunctions functions = [] {
        const HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
        const HMODULE oleaut32 = LoadSystemLibrary("oleaut32.dll");
        OleaccFunctions found{
            FindFunction<decltype(&LresultFromObject)>(oleacc, "LresultFromObject"),
            FindFunction<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject"),
            FindFunction<decltype(&AccessibleObjectFromWindow)>(oleacc, "AccessibleObjectFromWindow"),
            FindFunction<decltype(&SysAllocStringLen)>(oleaut32, "SysAllocStringLen"), false};
        // The objects are handed to other processes through COM, which needs
        // this thread in an apartment of its own; the message loop serves it.
        const auto coInitializeEx =
            FindFunction<decltype(&CoInitializeEx)>(LoadSystemLibrary("ole32.dll"), "CoInitializeEx");
        const HRESULT initialized =
            coInitializeEx ? coInitializeEx(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
        found.ready = found.lresultFromObject && found.createStdAccessibleObject &&
                      found.accessibleObjectFromWindow && found.sysAllocStringLen &&
                      (SUCCEEDED(initialized) || initialized == RPC_E_CHANGED_MODE);
        return found;
    }();
    return functions;
}

HRESULT ToBstr(const char* text, BSTR* out) {
    wchar_t wide[256];
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(std::size(wide)));
    if (length == 0 || !Oleacc().sysAllocStringLen) return E_FAIL; // the length counts the NUL
    *out = Oleacc().sysAllocStringLen(wide, static_cast<UINT>(length - 1));
    return *out ? S_OK : E_OUTOFMEMORY;
}
