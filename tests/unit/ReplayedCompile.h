#pragma once
// A compile replayed in the headless file system: the files TeX read stand
// where its names point, and its output is read as Velumo reads it.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "features/DocumentFiles.h"
#include "features/DocumentFolder.h"
#include "shared/TexRun.h"
#include "support/HeadlessOs.h"
#include "text/FileNames.h"
#include "text/Lines.h"

class ReplayedCompile {
public:
    // folder: the Windows folder TeX ran in, ending in "\"; utf8: whether
    // TeX printed the names in UTF-8 rather than in the code page.
    ReplayedCompile(std::string folder, bool utf8) : folder_(std::move(folder)), utf8_(utf8) {}

    headless::HeadlessOs system;

    // The full Windows path of a name TeX printed. *exact is false when a
    // UTF-8 name has no form in the code page.
    std::string windowsPath(const std::string& name, bool* exact) {
        const std::string printed = backslashed(name);
        *exact = true;
        const std::string inCodePage = utf8_ ? system.codePage.fromUtf8(printed, exact) : printed;
        return system.files.fullPathName(isRelativeName(name) ? folder_ + inCodePage : inCodePage);
    }

    // An empty file of that name; Windows holds a name without a code page
    // form only under its UTF-8 name.
    void put(const std::string& name) {
        bool exact = true;
        const std::string file = windowsPath(name, &exact);
        if (exact)
            system.files.put(file, "");
        else
            system.files.utf8OnlyFiles.insert(system.codePage.toUtf8(folder_) + backslashed(name));
    }

    // Where the editor goes for an error of the run in that file (its first
    // error's unless given): the file, or the document when the file has no
    // code page form or lies outside the document's folder.
    std::string expectedFile(const TexRun& run) { return expectedFile(run, run.errorFile); }
    std::string expectedFile(const TexRun& run, const std::string& errorFile) {
        bool exact = true;
        const std::string document = windowsPath(run.document, &exact);
        const std::string file = windowsPath(errorFile, &exact);
        const std::string folder = document.substr(0, document.rfind('\\') + 1);
        return exact && text::sameFileName(file.substr(0, folder.size()), folder) ? file : document;
    }

    CompileOutput read(const TexRun& run) {
        const std::vector<std::string_view> lines = text::splitLines(run.output);
        const text::OutputEncoding encoding = text::encodingOfOutput(run.output);
        documentFolder_.emplace(system.os, document(run), encoding);
        return readCompileOutput(system.os, document(run), lines, encoding);
    }

    struct Place {
        std::string file, lineNumber;
    };
    // Where a double-click on the given line of the output (from 0) sends
    // the editor, as read() left the log: the place of the line's message,
    // its file found as the jump finds it.
    std::optional<Place> placeOf(const CompileOutput& read, size_t line) {
        const std::optional<text::TexPlace> place = read.messages.placeOf(line);
        if (!place) return std::nullopt;
        return Place{documentFolder_->editorFile(place->fileName, place->openFiles), place->lineNumber};
    }

private:
    Document document(const TexRun& run) {
        bool exact = true;
        return adoptDocument(system.files, windowsPath(run.document, &exact));
    }

    const std::string folder_;
    const bool utf8_;
    std::optional<DocumentFolder> documentFolder_; // the last read()'s
};
