// A static text that opens its target through the shell when clicked, with a hand cursor,
// a tooltip, and colours and font that may change while the mouse is over it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/Handles.h"
#include "framework/MessageMap.h"
#include "framework/Wnd.h"

class CSimpleLink : public fw::MessageTarget<CSimpleLink, fw::CSubclassedWnd> {
public:
    static constexpr UINT_PTR HOVER_TIMER_ID = 11;
    static constexpr UINT HOVER_PERIOD_MS = 100;

    CSimpleLink() = default;
    CSimpleLink(const CSimpleLink&) = delete;
    CSimpleLink& operator=(const CSimpleLink&) = delete;

    void SetLinkTarget(std::string_view target);
    void SetTooltipText(std::string_view text);
    void SetDefaultColors();
    // Set up once the dialog has bound the control; the control needs SS_NOTIFY.
    void PreSubclassWindow() override;
    // The colours for the control's WM_CTLCOLORSTATIC, which the parent dialog hands on.
    HBRUSH OnCtlColor(HDC dc) const;

private:
    friend fw::MessageTarget<CSimpleLink, fw::CSubclassedWnd>;
    static const fw::MessageTable<CSimpleLink> messageTable;

    fw::Result OnMouseMove(UINT keyFlags, POINT point);
    fw::Result OnTimer(UINT_PTR timerId);
    fw::Result OnLButtonUp(UINT keyFlags, POINT point);
    fw::Result OnSetCursor(HWND cursorWindow, UINT hitTest, UINT mouseMessage);
    void Redraw() const;

    bool hovering = false;
    COLORREF normalTextColor = 0;
    COLORREF normalBackColor = 0;
    COLORREF hoverBackColor = 0;
    COLORREF hoverTextColor = 0;
    std::string tooltipText;
    std::string linkTarget;
    fw::CFont normalFont;
    fw::CFont hoverFont;
    HCURSOR cursor = nullptr;
    RECT clientRect{};
    fw::CWindow tooltip;
};
