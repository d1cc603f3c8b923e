#pragma once
// The kinds of line a job reports and the log shows: a message, or an error
// (shown in red, and keeping the window open after the job).

enum ReportKind { kReportMessage = 0, kReportError = 1 };
