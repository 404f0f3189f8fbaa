// The About box: the product, its version and two links.
#pragma once

#include "framework/Dialog.h"
#include "framework/MessageMap.h"
#include "ui/CSimpleLink.h"

class AboutDialog : public fw::MessageTarget<AboutDialog, fw::CDialog> {
public:
    // Owned by `parentWindow`, which stays disabled while the box is open.
    explicit AboutDialog(HWND parentWindow);

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;

public:

private:
    friend fw::MessageTarget<AboutDialog, fw::CDialog>;
    static const fw::MessageTable<AboutDialog> messageTable;
    // The links choose their own colours.
    fw::Result OnCtlColorStatic(HDC dc, HWND control);

    CSimpleLink homePageLink;
    CSimpleLink supportLink;
};
