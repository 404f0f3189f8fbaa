// When typing reaches the journal: a table of keystrokes, commits and failing writes, and the
// moments the journal is written.
#include "core/JournalPacing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Pacing = core::JournalPacing;
using Tick = Pacing::Tick;
constexpr Tick P = Pacing::PAUSE_MS, L = Pacing::LATEST_MS, R = Pacing::RETRY_MS, LONGEST = Pacing::RETRY_LONGEST_MS;

enum class Event { Key, Commit };

struct Row {
    const char* what;
    std::vector<std::pair<Tick, Event>> events;
    // Writes before this tick fail.
    Tick failUntil;
    std::vector<Tick> writes;
};

std::vector<std::pair<Tick, Event>> Keys(Tick from, Tick to, Tick every)
{
    std::vector<std::pair<Tick, Event>> keys;
    for (Tick t = from; t <= to; t += every)
        keys.emplace_back(t, Event::Key);
    return keys;
}

// Runs the events in order; whenever the journal falls due before the next event, it is
// written then, up to a horizon that a journal failing for ever reaches too.
std::vector<Tick> Simulate(const Row& row)
{
    constexpr Tick horizon = 30000;
    Pacing pacing;
    std::vector<Tick> writes;
    auto event = row.events.begin();
    for (;;) {
        const auto due = pacing.Due();
        if (due && *due <= horizon && (event == row.events.end() || *due <= event->first)) {
            writes.push_back(*due);
            pacing.Written(*due, *due >= row.failUntil);
        } else if (event != row.events.end()) {
            event->second == Event::Key ? pacing.Typed(event->first) : pacing.Committed(event->first);
            ++event;
        } else {
            break;
        }
    }
    return writes;
}

std::vector<std::pair<Tick, Event>> Join(std::vector<std::pair<Tick, Event>> a, const std::vector<std::pair<Tick, Event>>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    std::stable_sort(a.begin(), a.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    return a;
}

}  // namespace

TEST(JournalPacing, WritesFollowThePauseTheBoundTheCommitsAndTheBackOff)
{
    const std::vector<Row> rows = {
        {"nothing typed, nothing written", {}, 0, {}},
        {"one keystroke: a pause later", Keys(0, 0, 1), 0, {P}},
        {"ten keystrokes 50 ms apart make one record", Keys(0, 450, 50), 0, {450 + P}},
        // The promise itself, 1.5 s, not the constant that keeps it.
        {"a keystroke every 100 ms is recorded within 1.5 s of the first", Keys(0, 3000, 100), 0, {1500, 3000, 3500}},
        {"keystrokes further apart than a pause are each recorded a pause later", Keys(0, 3 * L, L), 0,
         {P, L + P, 2 * L + P, 3 * L + P}},
        {"a commit is written at once", {{40, Event::Commit}}, 0, {40}},
        {"typing does not delay a commit", Join(Keys(0, 400, 100), {{150, Event::Commit}}), 0, {150, 400 + P}},
        {"failed writes back off, doubling", Keys(0, 0, 1), P + 3 * R, {P, P + R, P + 3 * R}},
        {"the back-off stops growing at its longest", {{0, Event::Commit}}, 1000000,
         {0, R, 3 * R, 7 * R, 15 * R, 31 * R, 31 * R + LONGEST, 31 * R + 2 * LONGEST}},
        {"a keystroke during the back-off does not delay the retry, which records it",
         Join(Keys(0, 0, 1), Keys(P + 50, P + 50, 1)), P + 1, {P, P + R}},
        {"a commit during the back-off is written at once", Join(Keys(0, 0, 1), {{P + 10, Event::Commit}}), P + 1,
         {P, P + 10}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Simulate(row), row.writes) << row.what;
}

TEST(JournalPacing, ASuccessfulWriteStartsTheBackOffAfresh)
{
    Pacing pacing;
    pacing.Committed(0);
    pacing.Written(0, false);
    pacing.Written(R, false);
    pacing.Written(3 * R, true);
    EXPECT_FALSE(pacing.Due());
    pacing.Committed(5000);
    pacing.Written(5000, false);
    EXPECT_EQ(pacing.Due(), 5000 + R);
}

TEST(JournalPacing, AJournalUnwrittenForLongerThanTheLimitIsToldOnceARun)
{
    constexpr Tick T = Pacing::TELL_UNWRITTEN_MS;
    const struct {
        const char* what;
        // Each write's moment and whether it held everything.
        std::vector<std::pair<Tick, bool>> writes;
        // The writes after which the user is told.
        std::vector<std::size_t> told;
    } rows[] = {
        {"writes that succeed", {{0, true}, {2 * T, true}}, {}},
        {"failing for the limit itself", {{0, false}, {T, false}}, {}},
        {"failing past the limit", {{0, false}, {T, false}, {T + 1, false}, {2 * T, false}}, {2}},
        {"a success in between starts the count afresh", {{0, false}, {T - 1, true}, {T, false}, {T + 2, false}}, {}},
        {"told once a run, even after a success", {{0, false}, {T + 1, false}, {T + 2, true}, {T + 3, false}, {3 * T, false}},
         {1}},
    };
    for (const auto& row : rows) {
        Pacing pacing;
        std::vector<std::size_t> told;
        for (std::size_t i = 0; i < row.writes.size(); ++i)
            if (pacing.Written(row.writes[i].first, row.writes[i].second))
                told.push_back(i);
        EXPECT_EQ(told, row.told) << row.what;
    }
}

TEST(JournalPacing, AHeldJournalIsReadAgainForAWhileAndADamagedOneNever)
{
    constexpr Tick B = Pacing::BUSY_READ_MS;
    const struct {
        Tick waited;
        bool busy;
        bool again;
    } rows[] = {{0, true, true}, {B - 1, true, true}, {B, true, false}, {0, false, false}, {B - 1, false, false}};
    for (const auto& row : rows)
        EXPECT_EQ(Pacing::ReadAgain(row.waited, row.busy), row.again) << row.waited << (row.busy ? " busy" : " damaged");
}
