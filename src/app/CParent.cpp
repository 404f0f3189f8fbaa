// The hidden owner runs the calendar window from its initialisation and ends unseen.
#include "app/CParent.h"

#include "resources/ResourceIds.h"
#include "window/CalendarWindow.h"

CParent::CParent() : CDialog(IDD_PARENT) {}

BOOL CParent::OnInitDialog()
{
    CDialog::OnInitDialog();
    {
        CalendarWindow calendar;
        calendar.DoModal();
        // Ending here, before the owner's own modal loop has started, means that loop is
        // never entered and the owner is never shown.
        OnCancel();
    }
    return TRUE;
}
