// The dialog in which the user types the custom clock format.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/Wnd.h"

class CTimeDlg : public fw::CDialog {
public:
    // Shows `format`; owned by `parentWindow`, which stays disabled while the dialog is open.
    CTimeDlg(HWND parentWindow, std::string format);
    ~CTimeDlg() override = default;

    // After "OK": the typed text, as it stands, even empty.
    const std::string& Format() const { return format; }

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    fw::CEdit formatEdit;
    std::string format;
};
