#include "text/TexFileTrail.h"

#include <array>
#include <map>
#include <set>

#include "text/Cp932.h"

namespace text {
namespace {
// TeX breaks its lines after 79 bytes; pTeX breaks one byte early rather than
// split a double-byte character.
constexpr size_t wrappedLineLength = 78;
// A name longer than this many lines, or with more blanks, is no name.
constexpr size_t maxNameLines = 8;
constexpr size_t maxNameBlanks = 8;
// An error's message and context take at most this many lines.
constexpr size_t maxErrorBlockLines = 32;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isContextLine(std::string_view line) { return line.size() > 2 && line.substr(0, 2) == "l." && isDigit(line[2]); }
bool endsName(char c) { return c == '(' || c == ')' || c == '[' || c == '{' || c == '<' || c == '"'; }

// What a byte is to a name being read, looked up once a byte: most bytes of a
// name only go on with it, and a log of a hundred thousand names is read
// byte by byte.
enum class ByteKind : unsigned char { plain, lead, blank, path, endsName };
const std::array<ByteKind, 256>& byteKinds() {
    static const std::array<ByteKind, 256> kinds = [] {
        std::array<ByteKind, 256> table{};
        for (int c = 0; c < 256; ++c) {
            const char byte = static_cast<char>(c);
            table[c] = endsName(byte)                               ? ByteKind::endsName
                       : byte == ' '                                ? ByteKind::blank
                       : byte == '.' || byte == '/' || byte == '\\' ? ByteKind::path
                       : isLeadByte(static_cast<unsigned char>(c))  ? ByteKind::lead
                                                                    : ByteKind::plain;
        }
        return table;
    }();
    return kinds;
}
size_t nextParenthesis(std::string_view line, size_t pos) {
    while (pos < line.size() && line[pos] != '(' && line[pos] != ')')
        ++pos;
    return pos;
}

// A place in the output: a line and a byte in it.
struct Place {
    size_t line = 0, pos = 0;
};

class Trail {
public:
    Trail(const std::vector<std::string_view>& lines, const NameExists& exists) : lines_(lines), exists_(exists) {}

    FilesInOutput read(size_t askedLine) {
        FilesInOutput result;
        std::set<int> seen;
        size_t errorBlockLeft = 0;
        bool afterContext = false;
        Place resume; // where a name that went on over TeX's line break ended
        for (size_t i = 0; i < lines_.size();) {
            const std::string_view line = lines_[i];
            size_t pos = 0;
            if (resume.line == i && resume.pos > 0) {
                pos = resume.pos;
            } else {
                if (i == askedLine)
                    for (const int file : stack_)
                        if (file != notAFile) result.openAtLine.push_back(files_[file]);
                // An error's lines quote the source text; they end with the line after its context line.
                if (!line.empty() && line[0] == '!') errorBlockLeft = maxErrorBlockLines;
                if (errorBlockLeft > 0) {
                    --errorBlockLeft;
                    if (afterContext) errorBlockLeft = 0;
                    afterContext = isContextLine(line);
                    ++i;
                    continue;
                }
                // An overfull or underfull box shows its text.
                if (line.substr(0, 2) == "[]") {
                    ++i;
                    continue;
                }
            }
            size_t next = i + 1;
            // "(" and ")" are never the second byte of a double-byte character,
            // so they can be looked for byte by byte.
            while ((pos = nextParenthesis(line, pos)) < line.size()) {
                if (line[pos] == ')') {
                    if (!stack_.empty()) stack_.pop_back();
                    ++pos;
                    continue;
                }
                const Place end = openFile({i, pos + 1});
                if (stack_.back() != notAFile && seen.insert(stack_.back()).second)
                    result.opened.push_back(files_[stack_.back()]);
                if (end.line != i) {
                    resume = end;
                    next = end.line;
                    break;
                }
                pos = end.pos;
            }
            i = next;
        }
        return result;
    }

private:
    // The stack holds indexes into files_: a long log opens the same few files
    // thousands of times.
    static constexpr int notAFile = -1;
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
        stack_.push_back(notAFile);
        return shortest;
    }

    // The name's text: a view into its line, or, when it went on over TeX's
    // line break, the parts joined.
    std::string_view nameText() const {
        return nameSpansLines_ ? std::string_view(joined_) : lines_[nameStart_.line].substr(nameStart_.pos);
    }

    // The readings of the name that starts here that may name a file: cut at
    // each blank, at the first character that ends a name, or at the end of a
    // line that TeX may have broken. Only a reading whose last word holds a
    // "." or a separator counts, and no text is copied for a name on one
    // line: a log of a hundred thousand lines of parentheses costs no
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
        const std::array<ByteKind, 256>& kinds = byteKinds();
        for (;;) {
            const std::string_view s = lines_[line];
            size_t q = pos;
            bool done = false;
            while (q < s.size() && !done) {
                const ByteKind kind = kinds[static_cast<unsigned char>(s[q])];
                if (kind == ByteKind::plain) {
                    ++q;
                    continue;
                }
                if (quoted ? s[q] == '"' : kind == ByteKind::endsName) {
                    cut(q, {line, quoted ? q + 1 : q});
                    done = true;
                    break;
                }
                if (kind == ByteKind::blank && !quoted) {
                    cut(q, {line, q});
                    pathInWord = false;
                    done = ++blanks > maxNameBlanks;
                } else if (kind == ByteKind::path) {
                    pathInWord = true;
                }
                q = kind == ByteKind::lead ? nextCharIndex(s, q) : q + 1;
            }
            if (!done) cut(s.size(), {line, s.size()});
            const bool goesOn = !done && s.size() >= wrappedLineLength && line + 1 < lines_.size() &&
                                line + 1 - at.line < maxNameLines;
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
    std::vector<int> stack_;
    std::vector<std::string> files_;
    std::map<std::string, int, std::less<>> indexes_;
    std::map<std::string, bool, std::less<>> asked_;
    // The name being read: where it starts, its readings, and its text when it
    // went on over a line break; kept for their capacity.
    Place nameStart_;
    std::vector<Candidate> candidates_;
    std::string joined_;
    bool nameSpansLines_ = false;
};
} // namespace

FilesInOutput readFilesInOutput(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists) {
    return Trail(lines, exists).read(line);
}

} // namespace text
