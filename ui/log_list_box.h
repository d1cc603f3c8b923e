#pragma once
// CLogListBox: the log, an owner-drawn list (owner-draw variable) of numbered
// message and error entries and of notice rows, newest on top. Each row keeps
// the text it draws as its string, so that screen readers read the words;
// the item data of a numbered row is its entry's serial number. A later entry
// with the same number changes every row that shows it. Rows grow to whole
// lines for texts wider than the list. Errors are red; in high contrast the
// rows take the scheme's colours and a frame marks an error.

#include <string>
#include <vector>

#include "fileops/report_kind.h"
#include "platform/list_box.h"

struct LogEntry {
    std::string text;
    ReportKind kind = kReportMessage;
    int serial = 0;
};

class CLogListBox : public CListBox {
  public:
    // Keeps the entry under serial (0 or more), replacing an older one of that
    // number, and shows it as the new top row.
    void AddEntry(const std::string& text, ReportKind kind, int serial);
    // A row on top with text and no entry behind it, drawn as a message.
    void AddNotice(const std::string& text);
    // The entry that row shows; nullptr for a notice row or a row that does
    // not exist.
    const LogEntry* EntryAtRow(int row) const;
    // Every entry kept, indexed by serial number; emptying the list keeps them.
    const std::vector<LogEntry>& Entries() const { return entries; }
    // Rows are measured only as they are put in: after a change of font or
    // width every row is measured again.
    void MeasureRowsAgain();

  protected:
    void MeasureItem(MEASUREITEMSTRUCT* measureInfo) override;
    void DrawItem(DRAWITEMSTRUCT* drawInfo) override;

  private:
    void InsertRow(int row, const std::string& text, ULONG_PTR itemData);
    ReportKind KindOfRow(ULONG_PTR itemData) const;
    int MeasureRow(const std::string& text) const;
    int MeasureRowHeight(HDC dc, const std::string& text) const;
    static void DrawSeparator(HDC dc, const RECT& row);

    std::vector<LogEntry> entries;
    // The text of the row being inserted: it is measured before it has its
    // item data.
    const std::string* insertingText = nullptr;
};
