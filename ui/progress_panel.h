#pragma once
// CProgressPanel: a self-painted progress bar with a text centred over it, the
// text white over the filled part and black over the rest, so it stays
// readable across the boundary; in high contrast, the scheme's highlight
// colours over the filled part and its window colours over the rest. The
// range is 64-bit: totals of 4 GiB and more work, and a position beyond the
// end fills the whole panel. Assistive tools see it as a progress bar whose
// value is its text.

#include <cstdint>

#include "platform/wnd.h"

class CProgressPanel : public CWnd {
  public:
    // Creates the panel's child window (with a sunken edge) over rect in the
    // parent's client coordinates.
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Stores the range and position and repaints before returning. The text
    // is the window text.
    void SetProgress(int64_t start, int64_t position, int64_t end);

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font); }
    void Paint(HDC dc);
    int BoundaryX(const RECT& client) const;

    int64_t rangeStart = 0;
    int64_t position = 0;
    int64_t rangeEnd = 0;
    HFONT font = nullptr;  // the caller's; none draws in the system font
};
