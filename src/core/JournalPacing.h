// When typing reaches the recovery journal: after a pause, or a bounded time after the first
// keystroke not yet recorded, at once for a note left on another day, and later and later
// while writes fail; when a journal that fails is worth the user's notice, and how long a
// journal another program holds at start is waited for. Ticks are milliseconds of a clock
// the caller reads.
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
    // A journal that has not taken the run's changes for longer than this is told of, once a
    // run: a moment's hold by another program is not worth a word, the run's changes resting
    // only in memory is.
    static constexpr Tick TELL_UNWRITTEN_MS = 10000;
    // A journal that another program (a virus scanner, a sync tool) holds at start is read
    // again every BUSY_READ_POLL_MS for up to BUSY_READ_MS before it counts as unreadable.
    static constexpr Tick BUSY_READ_MS = 2000;
    static constexpr Tick BUSY_READ_POLL_MS = 50;

    // Whether a read of the journal that failed `waited` ms after the first try is tried
    // again; `busy` says the file was held, not damaged or missing.
    static bool ReadAgain(Tick waited, bool busy) { return busy && waited < BUSY_READ_MS; }

    // A keystroke in the notes box: each one moves the write to a pause after it, but never
    // past LATEST_MS after the first keystroke the journal has not got.
    void Typed(Tick now);
    // A note was committed to a day: it is written at once.
    void Committed(Tick now);
    // The journal was written at `now`; `complete` is false when the disk still lacks changes
    // (another program held the file), which are then tried again after the back-off. True
    // when the user is to be told now that the journal is not being written.
    bool Written(Tick now, bool complete);

    // When the journal is next due to be written; none while nothing waits.
    std::optional<Tick> Due() const;

private:
    std::optional<Tick> firstTyped;
    std::optional<Tick> typingDue;
    std::optional<Tick> commitDue;
    std::optional<Tick> retryDue;
    Tick retryMs = RETRY_MS;
    // The first failed write since the journal last held everything.
    std::optional<Tick> unwrittenSince;
    bool told = false;
};

}  // namespace core
