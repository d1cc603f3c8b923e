#pragma once
// What the main window shows outside itself: the job's progress on its
// taskbar button, a flash of the button when a job ends out of sight, and log
// rows handed to the clipboard. The window holds the signals through this
// interface, so a test can see the calls without a taskbar.

#include <windows.h>

#include <cstdint>
#include <string>

struct ITaskbarList3;

enum TaskbarState { kTaskbarIdle, kTaskbarRunning, kTaskbarPaused, kTaskbarError };

class DesktopSignals {
  public:
    virtual ~DesktopSignals() = default;
    // The taskbar has made (or, after its restart, remade) the window's button.
    virtual void TaskbarButtonCreated(HWND window) = 0;
    virtual void SetTaskbarState(HWND window, TaskbarState state) = 0;
    virtual void SetTaskbarValue(HWND window, uint64_t done, uint64_t total) = 0;
    virtual void FlashTaskbarButton(HWND window) = 0;
    // text in the system's code page, its lines parted by CR LF.
    virtual void CopyToClipboard(HWND owner, const std::string& text) = 0;
};

// The system's taskbar and clipboard. Where the taskbar offers no progress
// (an older system, or none at all) the progress calls do nothing.
class SystemDesktopSignals : public DesktopSignals {
  public:
    SystemDesktopSignals() = default;
    ~SystemDesktopSignals() override;
    SystemDesktopSignals(const SystemDesktopSignals&) = delete;
    SystemDesktopSignals& operator=(const SystemDesktopSignals&) = delete;

    void TaskbarButtonCreated(HWND window) override;
    void SetTaskbarState(HWND window, TaskbarState state) override;
    void SetTaskbarValue(HWND window, uint64_t done, uint64_t total) override;
    void FlashTaskbarButton(HWND window) override;
    void CopyToClipboard(HWND owner, const std::string& text) override;

  private:
    ITaskbarList3* taskbar = nullptr;
    bool comStarted = false;
};
