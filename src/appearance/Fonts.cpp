// Fonts the window creates.
#include "appearance/Fonts.h"

fw::CFont CreateTahomaFont()
{
    return fw::CFont(CreateFontW(-11, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, L"Tahoma"));
}
