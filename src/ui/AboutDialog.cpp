// The About box.
#include "ui/AboutDialog.h"

#include "resources/ResourceIds.h"

namespace {
constexpr const char* supportAddress = "help@dayvane.example";
}  // namespace

AboutDialog::AboutDialog(HWND parentWindow) : CDialog(IDD_ABOUT, parentWindow) {}

void AboutDialog::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Control(IDC_HOME_PAGE_LINK, homePageLink);
    exchange.Control(IDC_SUPPORT_LINK, supportLink);
}

BOOL AboutDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    supportLink.SetLinkTarget(std::string("mailto:") + supportAddress);
    supportLink.SetTooltipText("Send email to support");
    supportLink.SetDefaultColors();
    return TRUE;
}

// The links choose their own colours.
bool AboutDialog::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message != WM_CTLCOLORSTATIC)
        return false;
    const HWND control = reinterpret_cast<HWND>(lParam);
    const HDC dc = reinterpret_cast<HDC>(wParam);
    if (control == homePageLink.Handle())
        result = reinterpret_cast<LRESULT>(homePageLink.OnCtlColor(dc));
    else if (control == supportLink.Handle())
        result = reinterpret_cast<LRESULT>(supportLink.OnCtlColor(dc));
    else
        return false;
    return true;
}
