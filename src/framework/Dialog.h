// The dialog base: a template, a modal run, the virtual operations and one dialog procedure.
#pragma once

#include <windows.h>

#include "framework/MessageMap.h"
#include "framework/Wnd.h"

namespace fw {

class CDialog : public MessageTarget<CDialog, CWnd> {
public:
    // With no parent, the dialog is owned by the application's main window.
    explicit CDialog(UINT dialogTemplate, HWND parentWindow = nullptr);

    // Creates the dialog from its template and runs its modal loop; returns the value
    // given to EndDialog, or -1 when the dialog could not be created, which is reported.
    INT_PTR DoModal();

    // ProcessMessage is the one route of every message but WM_INITDIALOG: a derived class
    // runs its own table there (MessageTarget), and ends it with
    // fw::ChainBase<fw::CDialog, Derived>() so that IDOK and IDCANCEL reach OnOK and OnCancel.

protected:
    virtual BOOL OnInitDialog();
    // The close routines: the IDOK and IDCANCEL commands of the base table.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange& exchange);

    void EndDialog(INT_PTR result) const;

private:
    friend MessageTarget<CDialog, CWnd>;
    static const MessageTable<CDialog> messageTable;
    Result OnCloseCommand(UINT id);
    Result OnCtlColor(HDC dc, HWND control);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId;
    HWND parent;
};

}  // namespace fw
