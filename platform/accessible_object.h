#pragma once
// What assistive tools are told about a control the system's standard
// description gets wrong: a self-painted window the system sees as a plain
// window. Its control answers WM_GETOBJECT with AnswerAccessibleObject, which
// hands out the standard object with the role replaced and the window text
// given as the name or the value.

#include <windows.h>
// ROLE_SYSTEM_* and the EVENT_* of assistive tools.
#include <oleacc.h>

enum class TextMeaning { kName, kValue };

// The result of WM_GETOBJECT for the client object; other objects (the
// window's frame, the caret, ...) are left to the system (returns 0).
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, long role,
                               TextMeaning text);

// Tells assistive tools that the window's client object changed (for
// example EVENT_OBJECT_VALUECHANGE or EVENT_SYSTEM_ALERT).
void NotifyAccessibleChange(HWND window, DWORD event);
