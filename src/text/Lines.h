#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// A carriage return, a line feed, or the two together end a line; a break at
// the very end adds no empty line, and an empty text has no lines. The lines
// are views into the text, which must outlive them: a log of a hundred
// thousand lines then costs no copy of each.
std::vector<std::string_view> splitLines(std::string_view text);

// A text that owns its lines: the text once, and splitLines' views into it.
// The text lives apart on the heap, so the views stay valid when this moves.
class TextLines {
public:
    TextLines() = default;
    explicit TextLines(std::string text)
        : text_(std::make_unique<const std::string>(std::move(text))), lines_(splitLines(*text_)) {}
    const std::vector<std::string_view>& lines() const { return lines_; }

private:
    std::unique_ptr<const std::string> text_;
    std::vector<std::string_view> lines_;
};

} // namespace text
