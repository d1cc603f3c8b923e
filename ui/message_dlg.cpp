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
    LOGFONTA description = DescribeFont(GetFont());
    SetFaceName(&description, Texts().LookupFontName());
    font = ::CreateFontIndirectA(&description);
    copyButton.SetFont(font);
    textEdit.SetFont(font);
    okButton.SetFont(font);

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

LRESULT CMessageDlg::OnDestroy(WPARAM, LPARAM) {
    if (font) ::DeleteObject(font);
    font = nullptr;
    return 0;
}
