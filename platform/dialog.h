#pragma once
// CDialog: a modal dialog run from a dialog template resource. One dialog
// procedure serves every dialog: at WM_INITDIALOG it subclasses the dialog
// window with the object, so from then on every message goes through the
// shared window procedure like any window's (owner-draw reflection, then the
// message table), and what no handler takes, or Default(), goes on to the
// dialog manager. A change of colour scheme, theme or high contrast repaints
// the dialog and its controls at once: owner-drawn ones pick their colours as
// they draw.

#include "platform/wnd.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(int templateId, CWnd* parent = nullptr);

    // Runs the dialog until EndDialog; its result, or -1 when the template
    // could not be loaded.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

  protected:
    // Binds the template's controls (DoDataExchange); true lets the dialog
    // manager give the focus to the first tab stop.
    virtual bool OnInitDialog();
    // Binds template controls to members with BindControl.
    virtual void DoDataExchange() {}
    virtual void OnOK();      // IDOK: ends the dialog with IDOK
    virtual void OnCancel();  // IDCANCEL, Escape, close box: ends it with IDCANCEL

    // Attaches the template control id to control, which gets its messages
    // from then on; false when the template has no such control.
    bool BindControl(int id, CWnd& control);

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    static INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnInitDialogMessage(WPARAM, LPARAM);
    LRESULT OnColoursChanged(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }

    int templateId_;
    CWnd* parent_;
};
