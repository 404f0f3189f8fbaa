// When typing reaches the recovery journal: after a pause, or a bounded time after the first
// keystroke not yet recorded, at once for a note left on another day, and later and later
// while writes fail. Ticks are milliseconds of a clock the caller reads.
#pragma once

#include <cstdint>
#include <optional>

namespace core {

class JournalPacing {
public:
    using Tick = std::uint64_t;
    static constexpr Tick PAUSE_MS = 500;
    static constexpr Tick LATEST_MS = 1500;
    // A failed write is tried again after this long, then after twice as long each time, up
    // to RETRY_LONGEST_MS.
    static constexpr Tick RETRY_MS = 250;
    static constexpr Tick RETRY_LONGEST_MS = 8000;

    // A keystroke in the notes box: each one moves the write to a pause after it, but never
    // past LATEST_MS after the first keystroke the journal has not got.
    void Typed(Tick now);
    // A note was committed to a day: it is written at once.
    void Committed(Tick now);
    // The journal was written at `now`; `complete` is false when the disk still lacks changes
    // (another program held the file), which are then tried again after the back-off.
    void Written(Tick now, bool complete);

    // When the journal is next due to be written; none while nothing waits.
    std::optional<Tick> Due() const;

private:
    std::optional<Tick> firstTyped;
    std::optional<Tick> typingDue;
    std::optional<Tick> commitDue;
    std::optional<Tick> retryDue;
    Tick retryMs = RETRY_MS;
};

}  // namespace core
