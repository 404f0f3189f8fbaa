// The custom clock format dialog.
#include "appearance/CTimeDlg.h"

#include <utility>

#include "resources/ResourceIds.h"

CTimeDlg::CTimeDlg(HWND parentWindow, std::string shownFormat)
    : CDialog(IDD_TIME_FORMAT, parentWindow), format(std::move(shownFormat))
{
}

void CTimeDlg::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Control(IDC_TIME_FORMAT, formatEdit);
}

BOOL CTimeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    formatEdit.SetText(format);
    // TRUE: the focus goes to the first tab stop, "OK", so Enter confirms the shown text.
    return TRUE;
}

void CTimeDlg::OnOK()
{
    format = formatEdit.Text();
    CDialog::OnOK();
}
