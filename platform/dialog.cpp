#include "platform/dialog.h"

#include <commctrl.h>

#include "platform/message_table.h"

namespace {

// Templates may hold common controls (the main dialog's progress bar); their
// classes must exist before the dialog is created.
void RegisterCommonControls() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls,
                                         ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

}  // namespace

CDialog::CDialog(int templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

INT_PTR CDialog::DoModal() {
    RegisterCommonControls();
    const HWND owner = parent_ ? parent_->GetSafeHwnd() : nullptr;
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                             DialogProcedure, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(GetSafeHwnd(), result); }

bool CDialog::OnInitDialog() {
    DoDataExchange();
    return true;
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::BindControl(int id, CWnd& control) { return control.SubclassDlgItem(id, *this); }

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM) { return OnInitDialog() ? TRUE : FALSE; }

bool CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CDialog> kMessages[] = {
        OnMessage(WM_INITDIALOG, &CDialog::OnInitDialogMessage),
        OnCommand(IDOK, &CDialog::OnOKCommand),
        OnCommand(IDCANCEL, &CDialog::OnCancelCommand),
        OnMessage(WM_SYSCOLORCHANGE, &CDialog::OnColoursChanged),
        OnMessage(WM_THEMECHANGED, &CDialog::OnColoursChanged),
        OnMessage(WM_SETTINGCHANGE, &CDialog::OnSettingChange),
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CWnd::HandleMessage(message, wParam, lParam, result);
}

LRESULT CDialog::OnColoursChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return result;
}

LRESULT CDialog::OnSettingChange(WPARAM wParam, LPARAM lParam) {
    return wParam == SPI_SETHIGHCONTRAST ? OnColoursChanged(wParam, lParam) : Default();
}

// Sees only WM_INITDIALOG for itself: the dialog's later messages reach the
// object through its window procedure, and the dialog manager calls this
// procedure only for their default handling, which it then does itself.
INT_PTR CALLBACK CDialog::DialogProcedure(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    if (!self || !self->SubclassWindow(hwnd)) return TRUE;
    LRESULT result = TRUE;
    self->Dispatch(message, 0, lParam, &result);
    return static_cast<INT_PTR>(result);
}
