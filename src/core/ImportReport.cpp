// Reporting an import in sentences, singulars included.
#include "core/ImportReport.h"

#include <vector>

namespace core {

namespace {

std::string Counted(std::size_t count, const char* singular, const char* plural)
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

std::string Years(const std::vector<int>& years)
{
    std::string text;
    for (std::size_t i = 0; i < years.size(); ++i)
        text += (i == 0 ? "" : i + 1 == years.size() ? " or " : ", ") + std::to_string(years[i]);
    return text;
}

std::string Reason(ImportSkip reason, int thisYear)
{
    switch (reason) {
    case ImportSkip::RepeatRule:
        return "a repeat rule Dayvane does not read";
    case ImportSkip::OtherEntry:
        return "a to-do or journal";
    case ImportSkip::Undated:
        return "a date Dayvane cannot read";
    case ImportSkip::NoSummary:
        return "no summary";
    case ImportSkip::OutsideYears:
        return "a day outside " + std::to_string(thisYear - 50) + " to " + std::to_string(thisYear + 49);
    case ImportSkip::LongerThanAYear:
        return "longer than a year";
    case ImportSkip::NoYearlyDay:
        return "a yearly repeat with no day in " + Years({thisYear, thisYear + 1});
    case ImportSkip::Count:
        break;
    }
    return {};
}

// One reason alone stands bare; several each say how many they cover.
std::string Reasons(const ICalendarImport& import)
{
    std::vector<std::pair<ImportSkip, std::size_t>> given;
    for (std::size_t i = 0; i < import.skipped.size(); ++i)
        if (import.skipped[i] > 0)
            given.emplace_back(static_cast<ImportSkip>(i), import.skipped[i]);
    if (given.size() == 1)
        return Reason(given.front().first, import.thisYear);
    std::string text;
    for (const auto& [reason, count] : given)
        text += (text.empty() ? "" : ", ") + Reason(reason, import.thisYear) + ": " + std::to_string(count);
    return text;
}

}  // namespace

std::string ImportReport(const ICalendarImport& import)
{
    const std::size_t skipped = import.Skipped();
    std::string report;
    if (import.imported > 0)
        report = "Imported " + Counted(import.imported, "event", "events") + " into " +
                 Counted(import.changedNotes.size(), "day", "days") + ".";
    else if (import.alreadyThere == 0 && skipped == 0 && import.leapDayEvents == 0)
        report = "The file holds no events.";
    else
        report = "Nothing new was imported.";
    std::string others;
    if (import.alreadyThere > 0)
        others = std::to_string(import.alreadyThere) + (import.alreadyThere == 1 ? " was" : " were") +
                 " already there";
    if (skipped > 0)
        others += (others.empty() ? "" : "; ") + std::to_string(skipped) + (skipped == 1 ? " was" : " were") +
                  " skipped (" + Reasons(import) + ")";
    if (!others.empty())
        report += " " + others + ".";
    if (import.leapDayEvents > 0)
        report += " " + Counted(import.leapDayEvents, "yearly event", "yearly events") + " on 29 February " +
                  (import.leapDayEvents == 1 ? "has" : "have") + " no day in " + Years(import.yearsWithoutLeapDay) +
                  ".";
    return report;
}

std::string ImportRefusal(ICalendarImport::Outcome outcome)
{
    if (outcome == ICalendarImport::Outcome::CutShort)
        return "The file ends inside its calendar (END:VCALENDAR is missing): it may have been cut short.";
    if (outcome == ICalendarImport::Outcome::NotICalendar)
        return "The file is not iCalendar: it does not begin with BEGIN:VCALENDAR, or its parts do not nest.";
    return {};
}

}  // namespace core
