// The About box.
#include "ui/AboutDialog.h"

#include "resources/ResourceIds.h"

namespace {
constexpr const char* SUPPORT_ADDRESS = "help@dayvane.example";
}  // namespace

const fw::MessageTable<AboutDialog> AboutDialog::messageTable = {
    fw::On<WM_CTLCOLORSTATIC, &AboutDialog::OnCtlColorStatic>(),
    fw::ChainBase<fw::CDialog, AboutDialog>(),
};

AboutDialog::AboutDialog(HWND parentWindow) : MessageTarget(IDD_ABOUT, parentWindow) {}

void AboutDialog::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Control(IDC_HOME_PAGE_LINK, homePageLink);
    exchange.Control(IDC_SUPPORT_LINK, supportLink);
}

BOOL AboutDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    supportLink.SetLinkTarget(std::string("mailto:") + SUPPORT_ADDRESS);
    supportLink.SetTooltipText("Send email to support");
    supportLink.SetDefaultColors();
    return TRUE;
}

fw::Result AboutDialog::OnCtlColorStatic(HDC dc, HWND control)
{
    for (const CSimpleLink* link : {&homePageLink, &supportLink})
        if (control == link->Handle())
            return fw::Done(reinterpret_cast<LRESULT>(link->OnCtlColor(dc)));
    return fw::Default;
}
