#include "platform/wnd.h"

#include <vector>

#include "crypto/wipe.h"

namespace {

// The window property that holds the attached object.
const char kObjectProperty[] = "Tarnu.CWnd";

}  // namespace

CWnd::~CWnd() { Detach(); }

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    return static_cast<CWnd*>(::GetPropA(hwnd, kObjectProperty));
}

void CWnd::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    attached_ = true;
    ::SetPropA(hwnd, kObjectProperty, this);
}

void CWnd::Detach() {
    if (!attached_) return;
    if (::IsWindow(hwnd_)) {
        ::RemovePropA(hwnd_, kObjectProperty);
        // Hand the window back only when nobody subclassed it after us.
        const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd_, GWLP_WNDPROC));
        if (previousProc_ && current == WindowProcedure) {
            ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        }
    }
    attached_ = false;
    previousProc_ = nullptr;
    hwnd_ = nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || attached_ || FromHandle(hwnd)) return false;
    Attach(hwnd);
    previousProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcedure)));
    return previousProc_ != nullptr;
}

bool CWnd::SubclassDlgItem(int id, const CWnd& parent) {
    return SubclassWindow(::GetDlgItem(parent.hwnd_, id));
}

bool CWnd::RegisterWindowClass(const char* className, UINT classStyle) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, className, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    return ::RegisterClassA(&windowClass) != 0;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const std::string& text, DWORD style,
                    const RECT& rect, HWND parent, UINT id) {
    if (attached_) return false;
    // The object attaches itself at WM_NCCREATE (WindowProcedure).
    const HWND hwnd = ::CreateWindowExA(exStyle, className, text.c_str(), style, rect.left,
                                        rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                        parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                        ::GetModuleHandleA(nullptr), this);
    return hwnd != nullptr && hwnd_ == hwnd;
}

bool CWnd::DestroyWindow() { return hwnd_ && ::DestroyWindow(hwnd_); }

std::string CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthA(hwnd_);
    if (length <= 0) return std::string();
    std::vector<char> text(length + 1);
    const int got = ::GetWindowTextA(hwnd_, text.data(), length + 1);
    std::string result(text.data(), got > 0 ? got : 0);
    WipeBytes(text.data(), text.size());  // the text may be a password
    return result;
}

void CWnd::SetWindowText(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }

RECT CWnd::GetClientRect() const {
    RECT rect = {};
    ::GetClientRect(hwnd_, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const {
    RECT rect = {};
    ::GetWindowRect(hwnd_, &rect);
    return rect;
}

void CWnd::ScreenToClient(RECT* rect) const {
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::MoveWindow(const RECT& rect, bool repaint) {
    ::MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 repaint);
}

bool CWnd::SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::SetWindowPos(hwnd_, insertAfter, x, y, width, height, flags) != FALSE;
}

HFONT CWnd::GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }

void CWnd::SetFont(HFONT font, bool redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw ? TRUE : FALSE, 0));
}

void CWnd::SetIcon(HICON icon, bool big) {
    SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(hwnd_, message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(hwnd_, message, wParam, lParam) != FALSE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT milliseconds) {
    return ::SetTimer(hwnd_, id, milliseconds, nullptr);
}

bool CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(hwnd_, id) != FALSE; }

bool CWnd::HandleMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

LRESULT CWnd::Default() {
    return CallPreviousProc(current_.message, current_.wParam, current_.lParam);
}

LRESULT CWnd::CallPreviousProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc_) return ::CallWindowProcA(previousProc_, hwnd_, message, wParam, lParam);
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

bool CWnd::ReflectToControl(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    HWND control = nullptr;
    if (message == WM_DRAWITEM) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU) control = draw->hwndItem;
    } else if (message == WM_MEASUREITEM) {
        const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU) control = ::GetDlgItem(hwnd_, measure->CtlID);
    } else {
        return false;
    }
    CWnd* object = FromHandle(control);
    if (!object || !object->OnChildNotify(message, 0, lParam, result)) return false;
    *result = TRUE;
    return true;
}

bool CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // Handlers may send messages to their own window: keep the outer message.
    const Message outer = current_;
    current_ = {message, wParam, lParam};
    bool handled = false;
    try {
        handled = ReflectToControl(message, wParam, lParam, result) ||
                  HandleMessage(message, wParam, lParam, result);
    } catch (...) {
        // A handler that failed half-way leaves the default handling to run,
        // so the window stays usable.
        handled = false;
    }
    current_ = outer;
    return handled;
}

LRESULT CALLBACK CWnd::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(hwnd);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) self->Attach(hwnd);
    }
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (!self->Dispatch(message, wParam, lParam, &result)) {
        result = self->CallPreviousProc(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) self->Detach();
    return result;
}
