#include "support/box_closer.h"

#include "support/program_driver.h"

BoxCloser::BoxCloser(std::function<void(const BoxCloser&)> onShown) : onShown_(std::move(onShown)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BoxCloser::~BoxCloser() {
    stop_ = true;
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
}

bool BoxCloser::Wait(DWORD milliseconds) {
    WaitForSingleObject(thread_, milliseconds);
    return closed_;
}

DWORD WINAPI BoxCloser::Run(void* parameter) {
    auto* self = static_cast<BoxCloser*>(parameter);
    HWND box = nullptr;
    WaitUntil([&] { return self->stop_ || (box = FindMessageBox(GetCurrentProcessId())) != nullptr; }, 10000);
    if (!box) return 0;
    char title[256] = "";
    GetWindowTextA(box, title, sizeof title);
    self->title = title;
    self->text = MessageBoxText(box);
    self->owner = GetWindow(box, GW_OWNER);
    if (self->onShown_) self->onShown_(*self);
    CloseMessageBox(box);
    self->closed_ = true;
    return 0;
}
