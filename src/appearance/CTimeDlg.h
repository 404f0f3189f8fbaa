// The dialog in which the user types the custom clock format.
#pragma once

#include "framework/Dialog.h"
#include "framework/Wnd.h"

class CTimeDlg : public fw::CDialog {
public:
    // Owned by `parentWindow`, which stays disabled while the dialog is open.
    explicit CTimeDlg(HWND parentWindow = nullptr);
    ~CTimeDlg() override = default;

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    // "OK": the typed text becomes the custom format as it stands, even empty.
    void OnOK() override;

private:
    fw::CEdit formatEdit;
};
