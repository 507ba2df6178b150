#include "text/TexFileTrail.h"

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
// Only a text that looks like a path is asked about: it holds a "." or a
// separator, and so does its last word when it holds blanks.
bool mayBeFileName(const std::string& name) {
    const size_t blank = name.rfind(' ');
    const size_t lastWord = blank == std::string::npos ? 0 : blank + 1;
    return name.find_first_of("./\\", lastWord) != std::string::npos;
}

size_t nextChar(std::string_view s, size_t i) {
    return (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? i + 2 : i + 1;
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
            while (pos < line.size()) {
                const char c = line[pos];
                if (c == ')') {
                    if (!stack_.empty()) stack_.pop_back();
                } else if (c == '(') {
                    const Place end = openFile({i, pos + 1});
                    if (stack_.back() != notAFile && seen.insert(stack_.back()).second)
                        result.opened.push_back(files_[stack_.back()]);
                    if (end.line != i) {
                        resume = end;
                        next = end.line;
                        break;
                    }
                    pos = end.pos;
                    continue;
                }
                pos = nextChar(line, pos);
            }
            i = next;
        }
        return result;
    }

private:
    // The stack holds indexes into files_: a long log opens the same few files
    // thousands of times.
    static constexpr int notAFile = -1;
    struct Candidate {
        std::string name;
        Place end;
    };

    // Reads the name after a "(", pushes its entry and answers where the name ends.
    Place openFile(Place at) {
        const std::vector<Candidate> candidates = nameCandidates(at);
        for (auto candidate = candidates.rbegin(); candidate != candidates.rend(); ++candidate)
            if (exists(candidate->name)) {
                stack_.push_back(fileIndex(candidate->name));
                return candidate->end;
            }
        stack_.push_back(notAFile);
        return candidates.front().end;
    }

    // Every reading of the name that starts here: cut at each blank, at the
    // first character that ends a name, or at the end of a line that TeX may
    // have broken.
    std::vector<Candidate> nameCandidates(Place at) const {
        std::vector<Candidate> candidates;
        std::string name;
        size_t line = at.line, pos = at.pos, blanks = 0;
        const bool quoted = pos < lines_[line].size() && lines_[line][pos] == '"';
        if (quoted) ++pos;
        for (;;) {
            const std::string_view s = lines_[line];
            size_t q = pos;
            while (q < s.size()) {
                const char c = s[q];
                if (quoted ? c == '"' : endsName(c)) {
                    name.append(s.substr(pos, q - pos));
                    candidates.push_back({name, {line, quoted ? q + 1 : q}});
                    return candidates;
                }
                if (c == ' ' && !quoted) {
                    candidates.push_back({name + std::string(s.substr(pos, q - pos)), {line, q}});
                    if (++blanks > maxNameBlanks) return candidates;
                }
                q = nextChar(s, q);
            }
            name.append(s.substr(pos));
            candidates.push_back({name, {line, s.size()}});
            if (s.size() < wrappedLineLength || line + 1 >= lines_.size() || line + 1 - at.line >= maxNameLines)
                return candidates;
            ++line;
            pos = 0;
        }
    }

    int fileIndex(const std::string& name) {
        const auto [known, added] = indexes_.try_emplace(name, static_cast<int>(files_.size()));
        if (added) files_.push_back(name);
        return known->second;
    }

    bool exists(const std::string& name) {
        if (name.empty() || !mayBeFileName(name)) return false;
        const auto known = asked_.find(name);
        if (known != asked_.end()) return known->second;
        return asked_[name] = exists_(name);
    }

    const std::vector<std::string_view>& lines_;
    const NameExists& exists_;
    std::vector<int> stack_;
    std::vector<std::string> files_;
    std::map<std::string, int> indexes_;
    std::map<std::string, bool> asked_;
};
} // namespace

FilesInOutput readFilesInOutput(const std::vector<std::string_view>& lines, size_t line, const NameExists& exists) {
    return Trail(lines, exists).read(line);
}

} // namespace text
