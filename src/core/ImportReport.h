// The words an import is reported in: what it added and what it did not, or why the file
// was refused.
#pragma once

#include <string>

#include "core/ICalendarImport.h"

namespace core {

// "Imported 112 events into 97 days. 15 were already there; 2 were skipped (a repeat rule
// Dayvane does not read)." and its variants.
std::string ImportReport(const ICalendarImport& import);

// Why a file that was not read was refused, as a sentence.
std::string ImportRefusal(ICalendarImport::Outcome outcome);

}  // namespace core
