#include "ui/desktop_signals.h"

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>
// clang-format on

#include <cstring>

#include "platform/win32_code_page.h"

namespace {

// A movable global block holding size bytes of data, or nullptr.
HGLOBAL GlobalCopy(const void* data, size_t size) {
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = memory ? ::GlobalLock(memory) : nullptr;
    if (!target) {
        if (memory) ::GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, data, size);
    ::GlobalUnlock(memory);
    return memory;
}

// The clipboard owns the block once it is set; until then it is ours.
void SetClipboardBlock(UINT format, const void* data, size_t size) {
    const HGLOBAL memory = GlobalCopy(data, size);
    if (memory && !::SetClipboardData(format, memory)) ::GlobalFree(memory);
}

TBPFLAG FlagOf(TaskbarState state) {
    switch (state) {
        case kTaskbarRunning:
            return TBPF_NORMAL;
        case kTaskbarPaused:
            return TBPF_PAUSED;
        case kTaskbarError:
            return TBPF_ERROR;
        default:
            return TBPF_NOPROGRESS;
    }
}

}  // namespace

SystemDesktopSignals::~SystemDesktopSignals() {
    if (taskbar) taskbar->Release();
    if (comStarted) ::CoUninitialize();
}

// The object is asked for only once the button exists, as the taskbar
// requires; a system without it leaves the progress unshown.
void SystemDesktopSignals::TaskbarButtonCreated(HWND) {
    if (taskbar) return;
    comStarted = comStarted || SUCCEEDED(::CoInitialize(nullptr));
    void* object = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ITaskbarList3, &object)))
        return;
    taskbar = static_cast<ITaskbarList3*>(object);
    if (SUCCEEDED(taskbar->HrInit())) return;
    taskbar->Release();
    taskbar = nullptr;
}

void SystemDesktopSignals::SetTaskbarState(HWND window, TaskbarState state) {
    if (taskbar) taskbar->SetProgressState(window, FlagOf(state));
}

void SystemDesktopSignals::SetTaskbarValue(HWND window, uint64_t done, uint64_t total) {
    if (taskbar) taskbar->SetProgressValue(window, done, total);
}

// The button flashes until the window comes to the front.
void SystemDesktopSignals::FlashTaskbarButton(HWND window) {
    FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    ::FlashWindowEx(&flash);
}

// The text as it is and in UTF-16, so that a program pasting it needs no
// guess at its code page.
void SystemDesktopSignals::CopyToClipboard(HWND owner, const std::string& text) {
    if (!::OpenClipboard(owner)) return;
    ::EmptyClipboard();
    SetClipboardBlock(CF_TEXT, text.c_str(), text.size() + 1);
    const std::wstring wide = WideFromSystem(text);
    SetClipboardBlock(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    ::CloseClipboard();
}
