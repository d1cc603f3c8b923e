#pragma once
// CAnnouncer: a hidden line of the window that assistive tools read out as an
// alert. The window speaks through it where a beep or a change of colour is
// all a sighted user gets: the end of a job, the first error.

#include <string>

#include "platform/wnd.h"

class CAnnouncer : public CWnd {
  public:
    void Announce(const std::string& text);

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
};
