#include "text/TexFileTrail.h"

#include <array>
#include <map>
#include <optional>

namespace text {
namespace {
// A name longer than this many lines, or with more blanks, is no name.
constexpr size_t maxNameLines = 8;
constexpr size_t maxNameBlanks = 8;
// An error's message and context take at most this many lines.
constexpr size_t maxErrorBlockLines = 32;
// TeX stops after a hundred errors; output that seems to hold more is not TeX's.
constexpr size_t maxErrors = 101;

// What a byte means inside a name: looked up in a table, since a long log
// has a name on nearly every line. A byte from 0x80 up starts a character of
// several bytes.
enum class ByteKind : unsigned char { plain, endsName, quote, blank, parenthesis, pathMark, high };
constexpr std::array<ByteKind, 256> byteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (size_t c = 0x80; c < kinds.size(); ++c)
        kinds[c] = ByteKind::high;
    for (const char c : {'[', '{', '<'})
        kinds[static_cast<size_t>(c)] = ByteKind::endsName;
    kinds['"'] = ByteKind::quote;
    kinds[' '] = ByteKind::blank;
    kinds['('] = kinds[')'] = ByteKind::parenthesis;
    kinds['.'] = kinds['/'] = kinds['\\'] = ByteKind::pathMark;
    return kinds;
}();
ByteKind kindOf(char c) { return byteKinds[static_cast<unsigned char>(c)]; }

bool isParenthesis(char c) { return c == '(' || c == ')'; }
size_t nextParenthesis(std::string_view line, size_t pos) {
    while (pos < line.size() && !isParenthesis(line[pos]))
        ++pos;
    return pos;
}

// A place in the output: a line and a byte in it.
struct Place {
    size_t line = 0, pos = 0;
};

class Reader {
public:
    Reader(const std::vector<std::string_view>& lines, const NameExists& exists, OutputEncoding encoding)
        : lines_(lines), exists_(exists), encoding_(encoding) {}

    TexOutput read() {
        Place resume; // where a name that went on over TeX's line break ended
        for (size_t i = 0; i < lines_.size();) {
            const std::string_view line = lines_[i];
            size_t pos = 0;
            if (resume.line == i && resume.pos > 0) {
                pos = resume.pos;
            } else if (passOver(i)) {
                ++i;
                continue;
            }
            size_t next = i + 1;
            // "(" and ")" are never a byte of a character of several bytes,
            // so they can be looked for byte by byte.
            while ((pos = nextParenthesis(line, pos)) < line.size()) {
                if (line[pos] == ')') {
                    if (!stack_.empty()) stack_.pop_back();
                    ++pos;
                    continue;
                }
                const Place end = openFile({i, pos + 1});
                if (const int file = stack_.back(); file >= 0 && !reported_[file]) {
                    reported_[file] = true;
                    output_.opened.push_back(files_[file]);
                }
                if (end.line != i) {
                    resume = end;
                    next = end.line;
                    break;
                }
                pos = end.pos;
            }
            if (next == i + 1 && !(next < lines_.size() && wrapsOnto(line, lines_[next], encoding_)))
                std::erase(stack_, messageText);
            i = next;
        }
        return std::move(output_);
    }

private:
    // Whether the line is message text whose parentheses never count; notes
    // the errors and their line numbers on the way.
    bool passOver(size_t i) {
        const std::string_view line = lines_[i];
        if (dumpGoesOn_) {
            dumpGoesOn_ = i + 1 < lines_.size() && wrapsOnto(line, lines_[i + 1], encoding_);
            return true;
        }
        if (runawayText_) {
            runawayText_ = false;
            return true;
        }
        if (noteError(i)) {
            errorBlockLeft_ = maxErrorBlockLines;
            afterContext_ = false;
        } else if (numberPending_ && isContextLine(line)) {
            numberPending_ = false;
            output_.errors.back().lineNumber = contextLineNumber(line);
        }
        // An error's lines end with the line after its context line, which
        // shows the rest of the source line.
        if (errorBlockLeft_ > 0) {
            --errorBlockLeft_;
            if (afterContext_) errorBlockLeft_ = 0;
            afterContext_ = isContextLine(line) || line.substr(0, 3) == "<*>";
            return true;
        }
        if (isRunawayLine(line)) {
            runawayText_ = true;
            return true;
        }
        if (startsHboxDump(line)) {
            dumpGoesOn_ = true;
            return true;
        }
        return isBoxMessage(line);
    }

    // Notes an error that starts on this line, in either of its forms.
    bool noteError(size_t i) {
        const std::string_view line = lines_[i];
        std::optional<TexError> error;
        if (isErrorLine(line)) {
            error = TexError{i, {}, {}, {}};
        } else if (const std::optional<FileLineError> named = fileLineError(line)) {
            error = fileLineErrorAt(i, *named);
        }
        if (!error) return false;
        numberPending_ = output_.errors.size() < maxErrors;
        if (!numberPending_) return true;
        for (const int file : stack_)
            if (file >= 0) error->openFiles.push_back(files_[file]);
        output_.errors.push_back(std::move(*error));
        return true;
    }

    // The name of a -file-line-error line is an existing file's, perhaps cut
    // by TeX's line breaks over the lines before.
    std::optional<TexError> fileLineErrorAt(size_t i, const FileLineError& named) {
        if (exists(named.name)) return TexError{i, std::string(named.name), std::string(named.lineNumber), {}};
        std::string name(named.name);
        // The name starts after the last error's own line.
        const size_t earliest = output_.errors.empty() ? 0 : output_.errors.back().line + 1;
        for (size_t first = i;
             first > earliest && i - first < maxNameLines && wrapsOnto(lines_[first - 1], lines_[first], encoding_);) {
            --first;
            name.insert(0, lines_[first]);
            if (exists(name)) return TexError{first, name, std::string(named.lineNumber), {}};
        }
        return std::nullopt;
    }

    // The stack holds indexes into files_: a long log opens the same few files
    // thousands of times.
    // An entry of a "(" that names no existing file: one whose name looks
    // like a path (a file TeX read that is not here to ask) stays until its
    // ")"; one that does not ("Checking (step 1 of 2") is message text, and
    // ends with its line even when the message never closes it.
    static constexpr int notAFile = -1;
    static constexpr int messageText = -2;
    // A reading of the name: its first bytes, up to where it ends.
    struct Candidate {
        size_t length;
        Place end;
    };

    // Reads the name after a "(", pushes its entry and answers where the name
    // ends: the longest reading that names an existing file, else the shortest.
    Place openFile(Place at) {
        Place shortest;
        nameCandidates(at, shortest);
        for (auto candidate = candidates_.rbegin(); candidate != candidates_.rend(); ++candidate)
            if (const std::string_view name = nameText().substr(0, candidate->length); exists(name)) {
                stack_.push_back(fileIndex(name));
                return candidate->end;
            }
        stack_.push_back(candidates_.empty() ? messageText : notAFile);
        return shortest;
    }

    // The name's text: a view into its line, or, when it went on over TeX's
    // line break, the parts joined.
    std::string_view nameText() const {
        return nameSpansLines_ ? std::string_view(joined_) : lines_[nameStart_.line].substr(nameStart_.pos);
    }

    // The readings of the name that starts here that may name a file: cut at
    // each blank and parenthesis, at the first character that ends a name, or
    // at the end of a line that TeX may have broken. Only a reading whose last
    // word holds a "." or a separator counts, and no text is copied for a name
    // on one line: a log of a hundred thousand lines of parentheses costs no
    // allocation a line. The end of the shortest reading is left in shortest.
    void nameCandidates(Place at, Place& shortest) {
        candidates_.clear();
        joined_.clear();
        nameSpansLines_ = false;
        size_t line = at.line, pos = at.pos, blanks = 0, before = 0;
        bool first = true, pathInWord = false;
        const bool quoted = pos < lines_[line].size() && lines_[line][pos] == '"';
        if (quoted) ++pos;
        nameStart_ = {line, pos};
        const auto cut = [&](size_t end, Place place) {
            if (first) shortest = place;
            first = false;
            if (pathInWord) candidates_.push_back({before + end - pos, place});
        };
        for (;;) {
            const std::string_view s = lines_[line];
            size_t q = pos;
            bool done = false;
            while (q < s.size()) {
                // Most bytes of a name only go on with it.
                while (q < s.size() && kindOf(s[q]) == ByteKind::plain)
                    ++q;
                if (q == s.size()) break;
                const char c = s[q];
                switch (kindOf(c)) {
                case ByteKind::plain:
                    break;
                case ByteKind::high:
                    q = nextCharIndex(s, q, encoding_);
                    continue;
                case ByteKind::pathMark:
                    pathInWord = true;
                    break;
                case ByteKind::quote:
                case ByteKind::endsName:
                    done = c == '"' || !quoted;
                    if (done) cut(q, {line, quoted ? q + 1 : q});
                    break;
                case ByteKind::blank:
                    if (quoted) break;
                    cut(q, {line, q});
                    pathInWord = false;
                    done = ++blanks > maxNameBlanks;
                    break;
                case ByteKind::parenthesis:
                    if (!quoted) cut(q, {line, q});
                    break;
                }
                if (done) break;
                ++q;
            }
            if (!done) cut(s.size(), {line, s.size()});
            const bool goesOn =
                !done && mayWrap(s, encoding_) && line + 1 < lines_.size() && line + 1 - at.line < maxNameLines;
            // A name over several lines is joined; one on a single line stays a view.
            if (goesOn || nameSpansLines_) joined_.append(s.substr(pos, q - pos));
            if (!goesOn) return;
            nameSpansLines_ = true;
            before = joined_.size();
            ++line;
            pos = 0;
        }
    }

    int fileIndex(std::string_view name) {
        const auto known = indexes_.find(name);
        if (known != indexes_.end()) return known->second;
        files_.emplace_back(name);
        reported_.push_back(false);
        return indexes_[files_.back()] = static_cast<int>(files_.size() - 1);
    }

    bool exists(std::string_view name) {
        if (name.empty()) return false;
        const auto known = asked_.find(name);
        if (known != asked_.end()) return known->second;
        std::string text(name);
        const bool answer = exists_(text);
        asked_.emplace(std::move(text), answer);
        return answer;
    }

    const std::vector<std::string_view>& lines_;
    const NameExists& exists_;
    const OutputEncoding encoding_;
    TexOutput output_;
    std::vector<int> stack_;
    std::vector<std::string> files_;
    std::vector<bool> reported_; // whether each file is in output_.opened yet
    std::map<std::string, int, std::less<>> indexes_;
    std::map<std::string, bool, std::less<>> asked_;
    // Lines of message text still to pass over.
    size_t errorBlockLeft_ = 0;
    bool afterContext_ = false;
    bool dumpGoesOn_ = false;
    bool runawayText_ = false;
    // The last error still waits for its context line.
    bool numberPending_ = false;
    // The name being read: where it starts, its readings, and its text when it
    // went on over a line break; kept for their capacity.
    Place nameStart_;
    std::vector<Candidate> candidates_;
    std::string joined_;
    bool nameSpansLines_ = false;
};
} // namespace

TexOutput readTexOutput(const std::vector<std::string_view>& lines, const NameExists& exists, OutputEncoding encoding) {
    return Reader(lines, exists, encoding).read();
}

} // namespace text
