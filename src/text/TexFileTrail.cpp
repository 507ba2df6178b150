#include "text/TexFileTrail.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "text/OpenEntries.h"

namespace text {
namespace {
// A name longer than this many lines, or with more blanks, is no name.
constexpr size_t maxNameLines = 8;
constexpr size_t maxNameBlanks = 8;
// The readings of one "(" end after this many cuts (blanks, parentheses, line
// ends), and at most this many of them are asked about: a name of a file is
// a few words at most.
constexpr size_t maxNameCuts = 16;
constexpr size_t maxReadings = 8;
// A Windows path holds at most 259 characters (MAX_PATH less its terminating
// zero); a longer reading is never asked. A character of the code page
// takes at most two bytes, and UTF-8 at most three bytes for each UTF-16 unit.
constexpr size_t maxPathCharacters = 259;
size_t maxNameBytes(OutputEncoding encoding) { return maxPathCharacters * (encoding == OutputEncoding::Utf8 ? 3 : 2); }
// The UTF-16 units that a name takes on Windows.
size_t pathUnits(std::string_view name, OutputEncoding encoding) {
    size_t units = 0;
    for (size_t i = 0; i < name.size(); i = nextCharIndex(name, i, encoding)) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (encoding == OutputEncoding::CodePage)
            ++units;
        else if ((c & 0xC0) != 0x80)
            units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}
// The names asked about are remembered, so that none is asked twice. Output
// that is not TeX's might hold a new name on every few bytes: the names asked
// grow slowly with the output's size, and so does the memory that remembers
// them (and the time a name takes to look up among them). TeX's own output
// asks a few names a page, and a book opens a few hundred files.
size_t maxNamesAsked(size_t outputBytes) { return 4096 + outputBytes / 65536; }
size_t maxBytesAsked(size_t outputBytes) { return 256 * 1024 + outputBytes / 16; }
// An error's files are looked for among this many innermost entries, and at
// most this many of them are kept: TeX itself opens at most a few dozen files
// at a time (max_in_open).
constexpr size_t maxEntriesAtError = 4096;
constexpr size_t maxFilesAtError = 64;
static_assert(maxFilesAtError <= UINT8_MAX, "a note counts its files in a byte");
// An error's message and context take at most this many lines.
constexpr size_t maxErrorBlockLines = 32;
// A long log may hold thousands of errors (maxErrorsRead). All of them
// together keep at most this many names of the files open at them: TeX's
// errors have a few files open each, and output that keeps dozens open at
// each of thousands of errors is not TeX's. So the errors cost memory linear
// in the output.
size_t maxErrorFileNames(size_t outputBytes) { return maxFilesAtError * 101 + outputBytes / 16; }

// What a byte means inside a name: looked up in a table, since a long log
// has a name on nearly every line. A byte from 0x80 up starts a character of
// several bytes.
enum class ByteKind : unsigned char { plain, endsName, quote, blank, parenthesis, pathMark, high, mayStartMessage };
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
    kinds['p'] = ByteKind::mayStartMessage;
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
        : lines_(lines), exists_(exists), encoding_(encoding) {
        size_t bytes = 0;
        for (const std::string_view line : lines)
            bytes += line.size() + 1;
        namesLeft_ = maxNamesAsked(bytes);
        errorsLeft_ = maxErrorsRead(bytes);
        errorFileNamesLeft_ = maxErrorFileNames(bytes);
        brokenNameBytesLeft_ = bytes;
        bytesLeft_ = maxBytesAsked(bytes);
    }

    // One pass over the lines. The work a line costs is bounded by its
    // bytes: each "(" reads at most maxNameCuts cuts or maxNameBytes bytes of
    // its name, and each name is asked about once.
    TexOutput read() {
        Place resume; // where a name that went on over TeX's line break ended
        for (size_t i = 0; i < lines_.size();) {
            noteFilesUpTo(i);
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
                    open_.pop();
                    ++pos;
                    continue;
                }
                const Place end = openFile({i, pos + 1});
                if (end.line != i) {
                    resume = end;
                    next = end.line;
                    break;
                }
                pos = end.pos;
            }
            if (next == i + 1 && !(next < lines_.size() && wrapsOnto(line, lines_[next], encoding_))) open_.endLine();
            i = next;
        }
        noteFilesUpTo(SIZE_MAX);
        return std::move(output_);
    }

    // Notes the warnings and bad boxes too, and the files open at each.
    void findNotesToo() { output_.notes = findNotes(lines_, encoding_, output_.noteNumbers); }

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
            if (blockOfLastError_) output_.errors.back().lastLine = i;
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
        if (isMessageContinuation(line) || isQuotingMessage(line)) return true;
        // A line of a box's listing may be broken too: what goes on is passed over with it.
        if (isBoxListingLine(line)) {
            dumpGoesOn_ = i + 1 < lines_.size() && wrapsOnto(line, lines_[i + 1], encoding_);
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
        // An error that has shown no context yet (a file not found, in
        // nonstop mode) takes the context of the emergency stop that follows.
        if (numberPending_ && errorBlockLeft_ > 0 && isEmergencyStop(line)) return true;
        numberPending_ = errorsLeft_ > 0;
        blockOfLastError_ = numberPending_;
        if (!numberPending_) return true;
        --errorsLeft_;
        error->openFiles = filesOpen(std::min(maxFilesAtError, errorFileNamesLeft_));
        errorFileNamesLeft_ -= error->openFiles.size();
        output_.errors.push_back(std::move(*error));
        return true;
    }

    // Notes the files open at each warning and bad box that starts at or
    // before line i. Consecutive notes under the same files share them; the
    // files of one note are at most maxFilesAtError, found among at most
    // maxEntriesAtError slots, so each note costs a bounded amount of work.
    void noteFilesUpTo(size_t i) {
        std::vector<TexNote>& notes = output_.notes;
        for (; nextNote_ < notes.size() && notes[nextNote_].first <= i; ++nextNote_) {
            std::vector<uint32_t>& all = output_.noteFiles;
            const size_t from = all.size();
            appendFilesOpen(all, maxFilesAtError);
            TexNote& note = notes[nextNote_];
            note.filesFrom = static_cast<uint32_t>(from);
            note.filesCount = static_cast<uint8_t>(all.size() - from);
            if (nextNote_ > 0) {
                const TexNote& before = notes[nextNote_ - 1];
                if (std::equal(all.begin() + before.filesFrom, all.begin() + before.filesFrom + before.filesCount,
                               all.begin() + static_cast<std::ptrdiff_t>(from), all.end())) {
                    all.resize(from);
                    note.filesFrom = before.filesFrom;
                }
            }
        }
    }

    // Appends the indexes of at most `files` files open among the innermost
    // maxEntriesAtError slots of the stack, outermost first.
    void appendFilesOpen(std::vector<uint32_t>& into, size_t files) const {
        const size_t from = into.size();
        open_.visitFilesInnermostFirst(maxEntriesAtError, [&](int32_t file) {
            into.push_back(static_cast<uint32_t>(file));
            return into.size() - from < files;
        });
        std::reverse(into.begin() + static_cast<std::ptrdiff_t>(from), into.end());
    }

    // The names of at most `files` files open at an error, outermost first.
    std::vector<std::string> filesOpen(size_t files) const {
        std::vector<uint32_t> indexes;
        appendFilesOpen(indexes, files);
        std::vector<std::string> open;
        for (const uint32_t file : indexes)
            open.push_back(files_[file]);
        return open;
    }

    // The name of a -file-line-error line is an existing file's, perhaps cut
    // by TeX's line breaks over the lines before.
    std::optional<TexError> fileLineErrorAt(size_t i, const FileLineError& named) {
        if (exists(named.name)) return TexError{i, std::string(named.name), std::string(named.lineNumber), {}};
        std::string name(named.name);
        // The name starts after the last error's own line.
        const size_t earliest = output_.errors.empty() ? 0 : output_.errors.back().line + 1;
        for (size_t first = i; first > earliest && i - first < maxNameLines && name.size() <= maxNameBytes(encoding_) &&
                               wrapsOnto(lines_[first - 1], lines_[first], encoding_);) {
            --first;
            // Output of nothing but such lines would join each a few times:
            // all the joining together reads at most the output's bytes.
            if (brokenNameBytesLeft_ < name.size() + lines_[first].size()) break;
            brokenNameBytesLeft_ -= name.size() + lines_[first].size();
            name.insert(0, lines_[first]);
            if (exists(name)) return TexError{first, name, std::string(named.lineNumber), {}};
        }
        return std::nullopt;
    }

    // A reading of the name: its first bytes, up to where it ends.
    struct Candidate {
        size_t length;
        Place end;
    };

    // Reads the name after a "(", pushes its entry and answers where the name
    // ends: the longest reading that names an existing file, else the
    // shortest. A "(" that names no existing file still opens an entry, so
    // that its ")" closes it and not a file. One whose name looks like a path
    // (a file TeX read that is not here to ask) stays until its ")"; one that
    // does not ("Checking (step 1 of 2") is message text, and ends with its
    // line even when the message never closes it.
    Place openFile(Place at) {
        // No name starts with a parenthesis: "((" and "()" are message text.
        if (const std::string_view line = lines_[at.line]; at.pos < line.size() && isParenthesis(line[at.pos])) {
            open_.push(OpenEntries::messageText);
            return at;
        }
        const Place shortest = nameCandidates(at);
        for (auto candidate = candidates_.rbegin(); candidate != candidates_.rend(); ++candidate)
            if (const std::string_view name = nameText().substr(0, candidate->length); exists(name)) {
                const int32_t file = fileIndex(name);
                open_.push(file);
                if (!reported_[static_cast<size_t>(file)]) {
                    reported_[static_cast<size_t>(file)] = true;
                    output_.opened.push_back(files_[static_cast<size_t>(file)]);
                }
                return candidate->end;
            }
        open_.push(candidates_.empty() ? OpenEntries::messageText : OpenEntries::notAFile);
        return shortest;
    }

    // The name's text: a view into its line, or, when it went on over TeX's
    // line break, the parts joined.
    std::string_view nameText() const {
        return nameSpansLines_ ? std::string_view(joined_) : lines_[nameStart_.line].substr(nameStart_.pos);
    }

    // The readings of the name that starts here that may name a file, into
    // candidates_; answers the end of the shortest reading. A reading ends at
    // each blank and parenthesis, at the first character that ends a name, or
    // at the end of a line that TeX may have broken. Only a reading whose last
    // word holds a "." or a separator counts, and only one whose parentheses
    // pair up: "./fig(a).tex", never "a.(b" or "a)b". A ")" with none open
    // before it closes the "(" of the name itself and ends it, as does a
    // second "(" within one. No text is copied for a name on one line.
    Place nameCandidates(Place at) {
        candidates_.clear();
        joined_.clear();
        nameSpansLines_ = false;
        size_t line = at.line, pos = at.pos, blanks = 0, cuts = 0, before = 0, depth = 0;
        bool pathInWord = false;
        std::optional<Place> shortest;
        const bool quoted = pos < lines_[line].size() && lines_[line][pos] == '"';
        if (quoted) ++pos;
        nameStart_ = {line, pos};
        const size_t maxBytes = maxNameBytes(encoding_);
        // Cuts the name before the byte at end; answers whether reading goes on.
        const auto cut = [&](size_t end, Place place) {
            if (!shortest) shortest = place;
            if (pathInWord && depth == 0) candidates_.push_back({before + end - pos, place});
            return ++cuts < maxNameCuts && candidates_.size() < maxReadings;
        };
        for (;;) {
            const std::string_view s = lines_[line];
            // Bytes past the longest name are not read.
            const size_t limit = std::min(s.size(), pos + (maxBytes + 1 - std::min(maxBytes + 1, before)));
            size_t q = pos;
            bool done = false;
            while (q < limit && !done) {
                // Most bytes of a name only go on with it.
                while (q < limit && kindOf(s[q]) == ByteKind::plain)
                    ++q;
                if (q == limit) break;
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
                case ByteKind::mayStartMessage:
                    // A warning that pdfTeX glued to the name ends it.
                    if (!quoted && startsPdfTexMessage(s.substr(q))) {
                        cut(q, {line, q});
                        done = true;
                    }
                    break;
                case ByteKind::quote:
                case ByteKind::endsName:
                    done = c == '"' || !quoted;
                    if (done) cut(q, {line, quoted ? q + 1 : q});
                    break;
                case ByteKind::blank:
                    if (quoted) break;
                    done = !cut(q, {line, q});
                    pathInWord = false;
                    done = done || ++blanks > maxNameBlanks;
                    break;
                case ByteKind::parenthesis:
                    if (quoted) break;
                    // A reading with a "(" inside another never pairs up.
                    if (c == '(' && depth > 0) {
                        done = true;
                        break;
                    }
                    done = !cut(q, {line, q});
                    if (c == '(')
                        ++depth;
                    else if (depth == 0)
                        done = true;
                    else
                        --depth;
                    break;
                }
                if (!done) ++q;
            }
            if (done || q < s.size()) { // ended, or longer than any path
                if (nameSpansLines_) joined_.append(s.substr(pos, q - pos));
                return shortest.value_or(Place{line, q});
            }
            const bool goesOn = cut(s.size(), {line, s.size()}) && mayWrap(s, encoding_) && line + 1 < lines_.size() &&
                                line + 1 - at.line < maxNameLines;
            // A name over several lines is joined; one on a single line stays a view.
            if (goesOn || nameSpansLines_) joined_.append(s.substr(pos, q - pos));
            if (!goesOn) return *shortest;
            nameSpansLines_ = true;
            before = joined_.size();
            ++line;
            pos = 0;
        }
    }

    int32_t fileIndex(std::string_view name) {
        const auto known = indexes_.find(name);
        if (known != indexes_.end()) return known->second;
        files_.emplace_back(name);
        reported_.push_back(false);
        const int32_t index = static_cast<int32_t>(files_.size() - 1);
        indexes_.emplace(files_.back(), index);
        return index;
    }

    bool exists(std::string_view name) {
        // A name of more characters than its bytes is none.
        if (name.empty() || name.size() > maxNameBytes(encoding_) ||
            (name.size() > maxPathCharacters && pathUnits(name, encoding_) > maxPathCharacters))
            return false;
        // Output that repeats itself asks the same name again and again.
        if (name == lastName_) return lastAnswer_;
        lastName_.assign(name);
        const auto known = asked_.find(name);
        if (known != asked_.end()) return lastAnswer_ = known->second;
        if (namesLeft_ == 0 || bytesLeft_ < name.size()) return lastAnswer_ = false;
        --namesLeft_;
        bytesLeft_ -= name.size();
        lastAnswer_ = exists_(lastName_);
        asked_.emplace(lastName_, lastAnswer_);
        return lastAnswer_;
    }

    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    template <typename T> using NameMap = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;

    const std::vector<std::string_view>& lines_;
    const NameExists& exists_;
    const OutputEncoding encoding_;
    TexOutput output_;
    // The stack holds indexes into files_: a long log opens the same few files
    // thousands of times.
    OpenEntries open_;
    std::vector<std::string> files_;
    std::vector<bool> reported_; // whether each file is in output_.opened yet
    NameMap<int32_t> indexes_;
    NameMap<bool> asked_;
    std::string lastName_;
    bool lastAnswer_ = false;
    size_t namesLeft_ = 0, bytesLeft_ = 0, brokenNameBytesLeft_ = 0;
    size_t errorsLeft_ = 0, errorFileNamesLeft_ = 0;
    // Lines of message text still to pass over.
    size_t errorBlockLeft_ = 0;
    bool afterContext_ = false;
    // The lines passed over are the last noted error's own (not one past the most read).
    bool blockOfLastError_ = false;
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
    size_t nextNote_ = 0; // the first note whose files are not noted yet
};
} // namespace

size_t maxErrorsRead(size_t outputBytes) { return 101 + outputBytes / 32; }

TexOutput readTexOutput(const std::vector<std::string_view>& lines, const NameExists& exists, OutputEncoding encoding) {
    Reader reader(lines, exists, encoding);
    reader.findNotesToo();
    return reader.read();
}

} // namespace text
