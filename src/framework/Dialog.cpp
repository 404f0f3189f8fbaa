// The dialog base and its one dialog procedure.
#include "framework/Dialog.h"

#include "core/Numerals.h"
#include "framework/DialogColors.h"
#include "framework/Files.h"
#include "framework/WinApp.h"

namespace fw {

namespace {

// These messages answer through the dialog procedure's return value; every other one
// answers through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message)
{
    switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}

// What the program was doing when `message` failed, for the report.
std::string WhatFailed(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        return "carry out command " + core::Decimal(LOWORD(wParam));
    if (message == WM_NOTIFY)
        return "answer notification " + core::Decimal(static_cast<int>(reinterpret_cast<const NMHDR*>(lParam)->code)) +
               " of control " + core::Decimal(static_cast<long long>(reinterpret_cast<const NMHDR*>(lParam)->idFrom));
    if (message == WM_INITDIALOG)
        return "prepare a window";
    if (message == WM_TIMER)
        return "run timer " + core::Decimal(static_cast<long long>(wParam));
    return "answer window message 0x" + core::Hexadecimal(message, 4);
}

}  // namespace

const MessageTable<CDialog> CDialog::messageTable = {
    OnCommands<IDOK, IDCANCEL, &CDialog::OnCloseCommand>(),
    On<WM_CTLCOLORDLG, &CDialog::OnCtlColor>(),
    On<WM_CTLCOLORSTATIC, &CDialog::OnCtlColor>(),
    On<WM_CTLCOLOREDIT, &CDialog::OnCtlColor>(),
    On<WM_CTLCOLORLISTBOX, &CDialog::OnCtlColor>(),
    On<WM_CTLCOLORBTN, &CDialog::OnCtlColor>(),
};

CDialog::CDialog(UINT dialogTemplate, HWND parentWindow) : templateId(dialogTemplate), parent(parentWindow) {}

INT_PTR CDialog::DoModal()
{
    HWND owner = parent;
    if (!owner) {
        if (CWnd* mainWindow = CWinApp::Current().MainWindow(); mainWindow && mainWindow != this)
            owner = mainWindow->Handle();
    }
    const INT_PTR result = DialogBoxParamW(CWinApp::Current().Instance(), MAKEINTRESOURCEW(templateId), owner,
                                           DialogProc, reinterpret_cast<LPARAM>(this));
    if (result == -1)
        CWinApp::Current().ReportFailure(owner, "open a window", SystemMessage(GetLastError()));
    return result;
}

BOOL CDialog::OnInitDialog()
{
    DataExchange exchange(handle);
    DoDataExchange(exchange);
    return TRUE;
}

void CDialog::OnOK()
{
    DataExchange exchange(handle);
    DoDataExchange(exchange);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

Result CDialog::OnCloseCommand(UINT id)
{
    if (id == IDOK)
        OnOK();
    else
        OnCancel();
    return Done();
}

// While the program chooses the dialogs' colours, the body and its controls take them.
Result CDialog::OnCtlColor(HDC dc, HWND)
{
    const HBRUSH body = PaintInDialogColors(dc);
    return body ? Done(reinterpret_cast<LRESULT>(body)) : Default;
}

void CDialog::DoDataExchange(DataExchange&) {}

void CDialog::EndDialog(INT_PTR result) const
{
    ::EndDialog(handle, result);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->handle = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self)
        return FALSE;

    // An exception must not unwind through the platform's frames: it is reported, and the
    // message gets default processing, so the program stays usable.
    INT_PTR answer = FALSE;
    try {
        answer = self->Route(message, wParam, lParam);
    } catch (...) {
        CWinApp::Current().ReportException(window, WhatFailed(message, wParam, lParam));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->handle = nullptr;
    }
    return answer;
}

INT_PTR CDialog::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const BOOL result = OnInitDialog();
        // Once the dialog has made its controls what they are, they take the colours in force.
        DressDialog(handle);
        return result;
    }
    LRESULT result = 0;
    if (!ProcessMessage(message, wParam, lParam, result))
        return FALSE;
    if (ReturnsDirectly(message))
        return result;
    SetWindowLongPtrW(handle, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace fw
