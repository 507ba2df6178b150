#pragma once
// The shapes of TeX's console messages that the error jump and the reader of
// TeX's output rely on, in one place.
#include <optional>
#include <string_view>

#include "text/Cp932.h"

namespace text {

// How the compiler wrote its console output.
enum class OutputEncoding { CodePage, Utf8 };
// UTF-8 when the whole output is valid UTF-8 with at least one character of
// several bytes; Shift-JIS text is practically never that.
OutputEncoding encodingOfOutput(std::string_view output);

// "! Undefined control sequence.": an error in TeX's usual form.
bool isErrorLine(std::string_view line);

// "./chap1.tex:7: Undefined control sequence.": an error in the form that
// TeX's -file-line-error option gives. Only the shape is read here; whether
// the name is a file is the caller's to ask.
struct FileLineError {
    std::string_view name;
    std::string_view lineNumber;
};
std::optional<FileLineError> fileLineError(std::string_view line);

// "l.12 \badmacro": where TeX was in the file it was reading.
bool isContextLine(std::string_view line);
// The number of a context line, when the text up to its first blank is all digits.
std::string_view contextLineNumber(std::string_view contextLine);

// "Runaway argument?": the next line shows the source text that ran away.
bool isRunawayLine(std::string_view line);

// "Overfull \hbox (...) in paragraph at lines 3--4": the next line starts the
// offending line's text in short form, a dump of whatever the author wrote.
bool startsHboxDump(std::string_view line);
// "Overfull \vbox (...) has occurred while \output is active": a box message
// without a dump.
bool isBoxMessage(std::string_view line);

// "\hbox(6.94+1.94)x345.0, glue set 3.0fil" and ".\OT1/cmr/m/n/10 (": a line of
// a box's listing, which the log shows for an overfull box or \showbox. Its
// character nodes show the author's text a character a line, parentheses and all.
bool isBoxListingLine(std::string_view line);

// "(fontspec)                (it probably doesn't": a line that goes on with
// a package's message, its name in parentheses and blanks up to the message's
// column. Its text may open a parenthesis that only the next such line closes.
bool isMessageContinuation(std::string_view line);

// Message text whose parentheses speak of no file: "Missing character: There
// is no ) in font nullfont!", which quotes a character of the author's text,
// and the help TeX gives for a missing number, whose parenthesis opens on one
// line and closes on the next. TeX writes its help to the transcript file
// alone, which may be read as the output too.
bool isQuotingMessage(std::string_view line);

// "pdfTeX warning (ext4): ...": pdfTeX starts its warnings without a line
// break of their own, so one may follow a file's name at once
// ("(./intro.texpdfTeX warning").
bool startsPdfTexMessage(std::string_view text);

// "! Emergency stop.": TeX gives up; its context shows where it was, also for
// an error just before it whose own lines have none (a file not found in
// nonstop mode).
bool isEmergencyStop(std::string_view line);

// TeX breaks its console lines after 79 bytes; pTeX and upTeX break a few
// bytes early rather than split a character of several bytes. Whether the
// line was broken so, and goes on at the start of the next.
bool wrapsOnto(std::string_view line, std::string_view next, OutputEncoding encoding);
// Whether a line is long enough that TeX may have broken it: for a name,
// whose going on is decided by asking whether the longer name exists.
bool mayWrap(std::string_view line, OutputEncoding encoding);

// Index of the character after the one starting at i. No byte of a UTF-8
// character of several bytes is an ASCII character, so UTF-8 is stepped byte by byte.
inline size_t nextCharIndex(std::string_view s, size_t i, OutputEncoding encoding) {
    return encoding == OutputEncoding::Utf8 ? i + 1 : nextCharIndex(s, i);
}

} // namespace text
