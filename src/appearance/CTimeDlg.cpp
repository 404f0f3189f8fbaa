// The custom clock format dialog.
#include "appearance/CTimeDlg.h"

#include "resources/ResourceIds.h"
#include "window/CalendarWindow.h"

CTimeDlg::CTimeDlg(HWND parentWindow) : CDialog(IDD_TIME_FORMAT, parentWindow) {}

void CTimeDlg::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Control(IDC_TIME_FORMAT, formatEdit);
}

BOOL CTimeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    formatEdit.SetText(theCalendarWindow->Settings().customTimeFormat);
    // TRUE: the focus goes to the first tab stop, "OK", so Enter confirms the shown text.
    return TRUE;
}

void CTimeDlg::OnOK()
{
    theCalendarWindow->Settings().customTimeFormat = formatEdit.Text();
    CDialog::OnOK();
}
