#include "text/OpenEntries.h"

#include <algorithm>

namespace text {

void OpenEntries::pushOnTop(int32_t entry) {
    if (entry < 0 && !slots_.empty() && isRun(slots_.back()) && kindOfRun(slots_.back()) == entry &&
        countOfRun(slots_.back()) < maxRun) {
        slots_.back() = run(entry, countOfRun(slots_.back()) + 1);
        return;
    }
    slots_.push_back(entry < 0 ? run(entry, 1) : entry);
}

void OpenEntries::push(int32_t entry) {
    messagesAboveFloor_ |= entry == messageText;
    pushOnTop(entry);
}

void OpenEntries::pop() {
    if (slots_.empty()) return;
    int32_t& top = slots_.back();
    if (isRun(top) && countOfRun(top) > 1) {
        top = run(kindOfRun(top), countOfRun(top) - 1);
        return;
    }
    slots_.pop_back();
    floor_ = std::min(floor_, slots_.size());
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
