// Answers the next message box of the test's own process from a thread of
// its own, for tests whose code under test blocks in a modal box.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

class BoxCloser {
public:
    // onShown runs on the watching thread while the box is up, after its
    // title, text and owner have been noted, and before it is closed.
    explicit BoxCloser(std::function<void(const BoxCloser&)> onShown = {});
    ~BoxCloser(); // stops watching if no box came, and waits for the thread
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    // Waits for a box to have come and gone; false when none came in time.
    // Either way the thread has ended when it returns, so what it noted can
    // be read.
    bool Wait(DWORD milliseconds = 5000);

    std::string title;
    std::string text;
    HWND owner = nullptr;

private:
    static DWORD WINAPI Run(void* parameter);
    void Join();
    std::function<void(const BoxCloser&)> onShown_;
    std::atomic<bool> stop_{false};
    bool closed_ = false; // written by the thread, read once it has ended
    HANDLE thread_ = nullptr;
};
