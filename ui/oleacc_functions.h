// What the accessible objects need of oleacc.dll, oleaut32.dll and ole32.dll,
// loaded from the system folder when a screen reader first asks, never at
// start: a program that nobody reads aloud pays nothing for them.
#pragma once

#include <windows.h>

#include <oleacc.h>

struct OleaccFunctions {
    decltype(&LresultFromObject) lresultFromObject;
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject;
    decltype(&AccessibleObjectFromWindow) accessibleObjectFromWindow;
    decltype(&SysAllocStringLen) sysAllocStringLen;
    bool ready; // every function found, and this thread in a COM apartment
};

// Loaded on the first call, on the window's thread.
const OleaccFunctions& Oleacc();

// Text of the program's code page as a BSTR the caller frees.
HRESULT ToBstr(const char* text, BSTR* out);
