#pragma once
// Window messages of our own, sent or posted to the main dialog.

#include <windows.h>

// Posted by the worker after every job. wParam, lParam: 0, not read.
constexpr UINT WM_JOB_FINISHED = WM_APP + 1;
// Sent by the file processor's report sink and waited for. wParam: address of
// the zero-terminated line; lParam: its kind (0 message, 1 error).
constexpr UINT WM_REPORT_LINE = WM_APP + 2;
// Sent by the worker and waited for. wParam: address of a std::string holding
// a plain message line for the log; lParam: 0.
constexpr UINT WM_WORKER_LOG_LINE = WM_APP + 3;
// Sent by the worker and waited for. wParam: address of a std::string with the
// name of the file about to be processed; lParam: 0.
constexpr UINT WM_WORKER_PROMPT = WM_APP + 4;

// Timers of the main dialog.
constexpr UINT_PTR kProgressTimer = 501;  // every 200 ms while a job runs
constexpr UINT_PTR kExitTimer = 502;      // once, 600 ms after a clean job, with automatic exit
