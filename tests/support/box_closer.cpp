#include "support/box_closer.h"

#include "support/message_boxes.h"
#include "support/waiting.h"

BoxCloser::BoxCloser(std::function<void(const BoxCloser&)> onShown) : onShown_(std::move(onShown)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BoxCloser::~BoxCloser() {
    Join();
    if (thread_) CloseHandle(thread_);
}

bool BoxCloser::Wait(DWORD milliseconds) {
    if (thread_) WaitForSingleObject(thread_, milliseconds * TimeScale());
    Join();
    return closed_;
}

// Every wait of the thread ends, in time or when told to stop: waiting for
// it cannot hang.
void BoxCloser::Join() {
    stop_ = true;
    if (thread_) WaitForSingleObject(thread_, INFINITE);
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
    self->closed_ = CloseMessageBox(box);
    return 0;
}
