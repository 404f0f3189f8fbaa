// The journal's pacing: the earliest of what typing, a commit and a retry ask for.
#include "core/JournalPacing.h"

#include <algorithm>

namespace core {

namespace {

std::optional<JournalPacing::Tick> Earliest(std::optional<JournalPacing::Tick> a, std::optional<JournalPacing::Tick> b)
{
    if (!a || !b)
        return a ? a : b;
    return std::min(*a, *b);
}

}  // namespace

void JournalPacing::Typed(Tick now)
{
    if (!firstTyped)
        firstTyped = now;
    typingDue = std::min(now + PAUSE_MS, *firstTyped + LATEST_MS);
}

void JournalPacing::Committed(Tick now)
{
    commitDue = Earliest(commitDue, now);
}

bool JournalPacing::Written(Tick now, bool complete)
{
    firstTyped.reset();
    typingDue.reset();
    commitDue.reset();
    if (complete) {
        retryDue.reset();
        retryMs = RETRY_MS;
        unwrittenSince.reset();
        return false;
    }
    retryDue = now + retryMs;
    retryMs = std::min(2 * retryMs, RETRY_LONGEST_MS);
    if (!unwrittenSince)
        unwrittenSince = now;
    if (told || now - *unwrittenSince <= TELL_UNWRITTEN_MS)
        return false;
    told = true;
    return true;
}

std::optional<JournalPacing::Tick> JournalPacing::Due() const
{
    return Earliest(Earliest(typingDue, commitDue), retryDue);
}

}  // namespace core
