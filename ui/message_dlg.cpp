#include "ui/message_dlg.h"

#include "lang/text_table.h"
#include "platform/font_description.h"
#include "platform/message_table.h"
#include "res/resource.h"

namespace {

// An edit control copies nothing when nothing is selected, so an empty text
// goes on the clipboard directly.
void PutEmptyTextOnClipboard(HWND owner) {
    if (!::OpenClipboard(owner)) return;
    ::EmptyClipboard();
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, 1);
    if (memory) {
        *static_cast<char*>(::GlobalLock(memory)) = '\0';
        ::GlobalUnlock(memory);
        if (!::SetClipboardData(CF_TEXT, memory)) ::GlobalFree(memory);
    }
    ::CloseClipboard();
}

}  // namespace

CMessageDlg::CMessageDlg(CWnd* parent) : CDialog(IDD_MESSAGE, parent) {}

void CMessageDlg::DoDataExchange() {
    BindControl(IDC_COPY_BUTTON, copyButton);
    BindControl(IDC_MESSAGE_TEXT, textEdit);
    BindControl(IDOK, okButton);
    textEdit.SetWindowText(text);
}

bool CMessageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    fontDescription = DescribeFont(GetFont());
    SetFaceName(&fontDescription, Texts().LookupFontName());
    SetControlFont(::CreateFontIndirectA(&fontDescription));
    controlPlaces.Take(GetSafeHwnd(), WindowDpi(GetSafeHwnd()));

    copyButton.SetWindowText(Texts().LookupText("button_text_copy"));
    okButton.SetWindowText(Texts().LookupText("button_okay"));
    okButton.SetFocus();
    // The focus is set here, so the dialog manager must not move it.
    return false;
}

bool CMessageDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CMessageDlg> kMessages[] = {
        OnCommand(IDC_COPY_BUTTON, &CMessageDlg::OnCopy),
        OnMessage(WM_DESTROY, &CMessageDlg::OnDestroy),
        OnMessage(WM_DPICHANGED, &CMessageDlg::OnDpiChanged),
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CDialog::HandleMessage(message, wParam, lParam, result);
}

void CMessageDlg::OnCopy() {
    if (textEdit.GetWindowText().empty()) {
        PutEmptyTextOnClipboard(GetSafeHwnd());
        return;
    }
    textEdit.SetSel(0, -1);
    textEdit.ScrollCaret();
    textEdit.Copy();
    textEdit.SetSel(-1, 0);
    textEdit.ScrollCaret();
}

void CMessageDlg::SetControlFont(HFONT newFont) {
    const HFONT oldFont = font;
    font = newFont;
    copyButton.SetFont(font);
    textEdit.SetFont(font);
    okButton.SetFont(font);
    if (oldFont) ::DeleteObject(oldFont);
}

// On a monitor of another scale: the place Windows suggests, with the
// controls and their font scaled to it.
LRESULT CMessageDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    const int dpi = HIWORD(wParam);
    MoveToSuggestedRect(GetSafeHwnd(), lParam);
    controlPlaces.PlaceAt(dpi);
    SetControlFont(CreateFontForDpi(fontDescription, controlPlaces.TakenDpi(), dpi));
    return 0;
}

LRESULT CMessageDlg::OnDestroy(WPARAM, LPARAM) {
    if (font) ::DeleteObject(font);
    font = nullptr;
    return 0;
}
