#pragma once
// The entries that TeX's "(" opened and no ")" closed yet, innermost last:
// a file, a name that looks like a path but names no file here, or message
// text in parentheses. Output of nothing but parentheses must not cost a
// slot a byte, so runs of entries that are no file are held as one slot with
// a count, and message text, which ends with its line, is taken out at each
// line's end by looking only at what that line pushed. Its size is bounded.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace text {

class OpenEntries {
public:
    // A file is its index, from 0 up.
    static constexpr int32_t notAFile = -1;
    static constexpr int32_t messageText = -2;

    void push(int32_t entry) {
        messagesAboveFloor_ |= entry == messageText;
        if (entry < 0 && !slots_.empty() && slots_.back() < 0 && kindOfRun(slots_.back()) == entry &&
            countOfRun(slots_.back()) < maxRun)
            slots_.back() = run(entry, countOfRun(slots_.back()) + 1);
        else
            pushSlot(entry < 0 ? run(entry, 1) : entry);
    }
    // Closes the innermost entry; nothing when none is open.
    void pop() {
        if (slots_.empty()) return;
        if (const int32_t top = slots_.back(); isRun(top) && countOfRun(top) > 1) {
            slots_.back() = run(kindOfRun(top), countOfRun(top) - 1);
            return;
        }
        slots_.pop_back();
        if (floor_ > slots_.size()) floor_ = slots_.size();
    }
    // Message text that its line did not close ends there.
    void endLine();

    // Calls with each open file from the innermost out, for at most `slots`
    // slots of the stack and until `visit` answers false.
    template <typename Visit> void visitFilesInnermostFirst(size_t slots, Visit visit) const {
        for (size_t k = slots_.size(); k > 0 && slots > 0; --k, --slots)
            if (slots_[k - 1] >= 0 && !visit(slots_[k - 1])) return;
    }
    size_t slotCount() const { return slots_.size(); }

private:
    // A slot below 0 is a run: -(2 * count + kind), kind 0 for notAFile, 1
    // for message text.
    static bool isRun(int32_t slot) { return slot < 0; }
    static int32_t kindOfRun(int32_t slot) { return (-slot) % 2 == 0 ? notAFile : messageText; }
    static int32_t countOfRun(int32_t slot) { return -slot / 2; }
    static int32_t run(int32_t kind, int32_t count) { return -(2 * count + (kind == notAFile ? 0 : 1)); }
    static constexpr int32_t maxRun = (INT32_MAX - 1) / 2;
    // TeX opens a few dozen files at a time at most; output that keeps more
    // entries open than this is not TeX's. The outer half of them is then
    // forgotten (a ")" with nothing open is ignored), so the stack never
    // holds more than this many slots, whatever the output.
    static constexpr size_t maxSlots = size_t{1} << 16;
    void pushSlot(int32_t slot);

    std::vector<int32_t> slots_;
    // No slot below this holds message text: everything from here up was
    // pushed since the last line's end.
    size_t floor_ = 0;
    bool messagesAboveFloor_ = false;
};

} // namespace text
