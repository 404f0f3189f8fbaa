// The About box: the product, its version and two links.
#pragma once

#include "framework/Dialog.h"
#include "ui/CSimpleLink.h"

class AboutDialog : public fw::CDialog {
public:
    AboutDialog();

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CSimpleLink homePageLink;
    CSimpleLink supportLink;
};
