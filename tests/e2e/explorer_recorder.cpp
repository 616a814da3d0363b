// Stands in for the system shell in the tests. It writes where it was run
// from and how it was started into the file named by NUV_LAUNCH_RECORD and
// ends; without that name it records nothing and ends with 2.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* record = std::getenv("NUV_LAUNCH_RECORD");
    if (!record) return 2;

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);

    // The arguments: the command line after the program's own name.
    std::string line = GetCommandLineA();
    std::size_t start = 0;
    if (!line.empty() && line[0] == '"') {
        start = line.find('"', 1);
        start = start == std::string::npos ? line.size() : start + 1;
    } else {
        start = line.find(' ');
        if (start == std::string::npos) start = line.size();
    }
    while (start < line.size() && line[start] == ' ') ++start;

    FILE* out = std::fopen(record, "wb");
    if (!out) return 1;
    std::fprintf(out, "program=%s\narguments=%s\nshow=%s%u\n", path, line.c_str() + start,
                 (startup.dwFlags & STARTF_USESHOWWINDOW) ? "" : "unset:", startup.wShowWindow);
    std::fclose(out);
    return 0;
}
