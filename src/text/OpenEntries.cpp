#include "text/OpenEntries.h"

#include <algorithm>

namespace text {

void OpenEntries::pushSlot(int32_t slot) {
    if (slots_.size() == maxSlots) {
        const size_t forgotten = maxSlots / 2; // once in maxSlots / 2 pushes
        slots_.erase(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(forgotten));
        floor_ = floor_ > forgotten ? floor_ - forgotten : 0;
    }
    slots_.push_back(slot);
}

// Only the slots from the floor up can hold message text, and each of them
// was made since the last line's end: the work of all line ends together is
// bounded by the pushes.
void OpenEntries::endLine() {
    if (messagesAboveFloor_) {
        // Compacted in place; a run of names may merge with the one below the floor.
        size_t kept = floor_;
        for (size_t k = floor_; k < slots_.size(); ++k) {
            const int32_t slot = slots_[k];
            if (isRun(slot) && kindOfRun(slot) == messageText) continue;
            int32_t* below = kept > 0 ? &slots_[kept - 1] : nullptr;
            if (isRun(slot) && below && isRun(*below) && kindOfRun(*below) == notAFile &&
                countOfRun(*below) <= maxRun - countOfRun(slot))
                *below = run(notAFile, countOfRun(*below) + countOfRun(slot));
            else
                slots_[kept++] = slot;
        }
        slots_.resize(kept);
        messagesAboveFloor_ = false;
    }
    floor_ = slots_.size();
}

} // namespace text
