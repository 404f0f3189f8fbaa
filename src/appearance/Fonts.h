// Fonts the window creates.
#pragma once

#include "framework/Handles.h"

// The fixed font of the month calendar: Tahoma at height -11, plain.
fw::CFont CreateTahomaFont();
