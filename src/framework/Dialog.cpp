// The dialog base and its one dialog procedure.
#include "framework/Dialog.h"

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

}  // namespace

CDialog::CDialog(UINT dialogTemplate, HWND parentWindow) : templateId(dialogTemplate), parent(parentWindow) {}

INT_PTR CDialog::DoModal()
{
    HWND owner = parent;
    if (!owner) {
        if (CWnd* mainWindow = CWinApp::Current().MainWindow(); mainWindow && mainWindow != this)
            owner = mainWindow->Handle();
    }
    return DialogBoxParamW(CWinApp::Current().Instance(), MAKEINTRESOURCEW(templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
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

bool CDialog::OnCommand(UINT id, UINT, HWND)
{
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

void CDialog::DoDataExchange(DataExchange&) {}

bool CDialog::ProcessMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

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

    INT_PTR answer = FALSE;
    try {
        answer = self->Route(message, wParam, lParam);
    } catch (...) {
        // An exception must not unwind through the platform's frames; the message
        // gets default processing instead.
        answer = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->handle = nullptr;
    }
    return answer;
}

INT_PTR CDialog::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    if (message == WM_COMMAND)
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));

    LRESULT result = 0;
    if (!ProcessMessage(message, wParam, lParam, result))
        return FALSE;
    if (ReturnsDirectly(message))
        return result;
    SetWindowLongPtrW(handle, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace fw
