#pragma once
// A window class's message table: a static array of entries, each naming a
// window message, or a command id with its notification code, and the member
// function that handles it. DispatchMessageTable walks the array; a class
// that handles nothing itself hands the message on to its base class:
//
//   bool CMyDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
//       static constexpr MessageEntry<CMyDlg> kMessages[] = {
//           OnMessage(WM_TIMER, &CMyDlg::OnTimer),
//           OnCommand(IDC_COPY_BUTTON, &CMyDlg::OnCopy),
//           OnCommand(IDC_LOG_LIST, &CMyDlg::OnLogDoubleClick, LBN_DBLCLK),
//       };
//       return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
//              CDialog::HandleMessage(message, wParam, lParam, result);
//   }

#include <windows.h>

#include <cstddef>

template <class T>
struct MessageEntry {
    UINT message;  // WM_COMMAND for command entries
    UINT id;       // command entries: the menu, button or control id
    UINT code;     // command entries: the notification code (0 for clicks and menus)
    LRESULT (T::*onMessage)(WPARAM, LPARAM);
    void (T::*onCommand)();
};

// A window message; the handler's result is the message's result.
template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {message, 0, 0, handler, nullptr};
}

// A WM_COMMAND from menu item or control id with notification code.
template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, void (T::*handler)(), UINT code = 0) {
    return {WM_COMMAND, id, code, nullptr, handler};
}

// Calls the handler of the first entry that matches; false when none does.
template <class T, size_t N>
bool DispatchMessageTable(T* self, const MessageEntry<T> (&table)[N], UINT message, WPARAM wParam,
                          LPARAM lParam, LRESULT* result) {
    for (const MessageEntry<T>& entry : table) {
        if (entry.message != message) continue;
        if (entry.onCommand) {
            if (LOWORD(wParam) != entry.id || HIWORD(wParam) != entry.code) continue;
            (self->*entry.onCommand)();
            *result = 0;
        } else {
            *result = (self->*entry.onMessage)(wParam, lParam);
        }
        return true;
    }
    return false;
}
