#pragma once
// Window messages of our own, sent or posted to the main dialog.

#include <windows.h>

// Posted by the worker after every job. wParam, lParam: 0, not read.
constexpr UINT WM_JOB_FINISHED = WM_APP + 1;
// Posted when the worker's mailbox turns from empty to not empty: the window
// takes every call waiting in it. wParam, lParam: 0, not read.
constexpr UINT WM_WORKER_CALLS = WM_APP + 2;

// Timers of the main dialog.
constexpr UINT_PTR kProgressTimer = 501;  // every 200 ms while a job runs
constexpr UINT_PTR kExitTimer = 502;      // once, 600 ms after a clean job, with automatic exit
