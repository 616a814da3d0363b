// Stands in for the system shell in the tests. It writes where it was run
// from and how it was started into the file named by NUV_LAUNCH_RECORD (or
// launch-record.txt beside itself) and ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string record = path;
    record = record.substr(0, record.find_last_of('\\') + 1) + "launch-record.txt";
    if (const char* wanted = std::getenv("NUV_LAUNCH_RECORD")) record = wanted;

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

    FILE* out = std::fopen(record.c_str(), "wb");
    if (!out) return 1;
    std::fprintf(out, "program=%s\narguments=%s\nshow=%s%u\n", path, line.c_str() + start,
                 (startup.dwFlags & STARTF_USESHOWWINDOW) ? "" : "unset:", startup.wShowWindow);
    std::fclose(out);
    return 0;
}
