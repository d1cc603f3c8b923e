#pragma once
// CWnd: a window handle and, once attached, the C++ object that handles the
// window's messages. Every attached window runs through one shared window
// procedure, which finds the object and hands it the message: first owner-draw
// messages are reflected to the control they concern, then the object's
// message table (message_table.h) is walked, and what no handler takes goes to
// the window's previous procedure. No exception leaves the procedure.

#include <windows.h>

#include <string>

class CWnd {
  public:
    CWnd() = default;
    // A plain wrapper of a window that stays unattached, e.g. a template
    // control reached by its id only.
    explicit CWnd(HWND hwnd) : hwnd_(hwnd) {}
    // Detaches: the window, if it still exists, is handed back to its previous procedure.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }
    // The object attached to hwnd, or nullptr.
    static CWnd* FromHandle(HWND hwnd);

    // Attaches an existing window, e.g. a control of a dialog template: its
    // messages come here first, and what this object leaves goes on to the
    // window's own procedure.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, const CWnd& parent);
    // Creates and attaches a window of a class registered by RegisterWindowClass.
    bool CreateEx(DWORD exStyle, const char* className, const std::string& text, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    bool DestroyWindow();

    CWnd GetDlgItem(int id) const { return CWnd(::GetDlgItem(hwnd_, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(hwnd_); }

    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);

    void ShowWindow(int command) { ::ShowWindow(hwnd_, command); }
    bool IsWindowVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
    void EnableWindow(bool enable) { ::EnableWindow(hwnd_, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }

    RECT GetClientRect() const;
    RECT GetWindowRect() const;  // screen coordinates
    void ScreenToClient(RECT* rect) const;
    void MoveWindow(const RECT& rect, bool repaint = true);
    bool SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags);

    HFONT GetFont() const;
    void SetFont(HFONT font, bool redraw = true);
    void SetIcon(HICON icon, bool big);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds);
    bool KillTimer(UINT_PTR id);

    void SetFocus() { ::SetFocus(hwnd_); }
    bool HasFocus() const { return hwnd_ && ::GetFocus() == hwnd_; }
    void Invalidate(bool erase = true) { ::InvalidateRect(hwnd_, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(hwnd_); }

  protected:
    // The message table of this class and its bases; true when a handler took
    // the message and set *result.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // An owner-draw message (WM_DRAWITEM, WM_MEASUREITEM) about this control,
    // reflected from its parent; true when the control drew or measured.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The default handling of the message being handled, for handlers that
    // add to it (or decline) rather than replace it.
    LRESULT Default();

    // Hands a message to this object: owner-draw reflection, then the message
    // table; true when a handler took it and set *result. Keeps the message
    // for Default() meanwhile; a handler's exception counts as not handled.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Registers a window class whose windows run through the shared procedure;
    // registering the same name again does nothing.
    static bool RegisterWindowClass(const char* className, UINT classStyle);

  private:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPreviousProc(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Attach(HWND hwnd);
    void Detach();

    HWND hwnd_ = nullptr;
    bool attached_ = false;
    WNDPROC previousProc_ = nullptr;  // set for subclassed windows
    Message current_{};
};
