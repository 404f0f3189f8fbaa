// The system's ANSI code page, in which plain strings of the data files are written.
#pragma once

#include "core/CodePage.h"

namespace fw {

class AnsiCodePage : public core::CodePage {
public:
    bool FromUtf8(const std::string& utf8, std::string& ansi) const override;
    std::string ToUtf8(const std::string& ansi) const override;
};

// The one instance the program uses.
const core::CodePage& SystemCodePage();

}  // namespace fw
