#include "ui/announcer.h"

#include "platform/accessible_object.h"
#include "platform/message_table.h"

void CAnnouncer::Announce(const std::string& text) {
    SetWindowText(text);
    NotifyAccessibleChange(GetSafeHwnd(), EVENT_SYSTEM_ALERT);
}

bool CAnnouncer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CAnnouncer> kMessages[] = {
        OnMessage(WM_GETOBJECT, &CAnnouncer::OnGetObject),
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CWnd::HandleMessage(message, wParam, lParam, result);
}

LRESULT CAnnouncer::OnGetObject(WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = AnswerAccessibleObject(GetSafeHwnd(), wParam, lParam, ROLE_SYSTEM_ALERT,
                                                  TextMeaning::kName);
    return answer ? answer : Default();
}
