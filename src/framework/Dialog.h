// The dialog base: a template, a modal run, the virtual operations and one dialog procedure.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

namespace fw {

class CDialog : public CWnd {
public:
    // With no parent, the dialog is owned by the application's main window.
    explicit CDialog(UINT dialogTemplate, HWND parentWindow = nullptr);
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    // Creates the dialog from its template and runs its modal loop; returns the value
    // given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR DoModal();

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Returns true when the command was handled. The base turns IDOK and IDCANCEL
    // into OnOK and OnCancel.
    virtual bool OnCommand(UINT id, UINT notifyCode, HWND control);
    virtual void DoDataExchange(DataExchange& exchange);
    // A derived class runs its message table here; true when the message was handled.
    virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void EndDialog(INT_PTR result) const;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Route(UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId;
    HWND parent;
};

}  // namespace fw
