#include "support/waiting.h"

#include <cstdlib>

DWORD TimeScale() {
    static const DWORD scale = [] {
        char text[16] = "";
        const DWORD length = GetEnvironmentVariableA("NUV_TIME_SCALE", text, sizeof text);
        const long value = length > 0 && length < sizeof text ? std::strtol(text, nullptr, 10) : 1;
        return value >= 1 && value <= 100 ? static_cast<DWORD>(value) : DWORD{1};
    }();
    return scale;
}
