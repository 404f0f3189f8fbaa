// The hidden owner dialog: it owns the calendar window, so the calendar gets no taskbar button.
#pragma once

#include "framework/Dialog.h"

class CParent : public fw::CDialog {
public:
    CParent();

protected:
    BOOL OnInitDialog() override;
};
