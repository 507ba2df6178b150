#pragma once
// A compile replayed in the headless file system: the files TeX read stand
// where its names point, and its output is read as Velumo reads it.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "features/DocumentFiles.h"
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

    // Where the editor goes for the run's error: its file, or the document
    // when that file has no code page form or lies outside the document's folder.
    std::string expectedFile(const TexRun& run) {
        bool exact = true;
        const std::string document = windowsPath(run.document, &exact);
        const std::string file = windowsPath(run.errorFile, &exact);
        const std::string folder = document.substr(0, document.rfind('\\') + 1);
        return exact && text::sameFileName(file.substr(0, folder.size()), folder) ? file : document;
    }

    CompileOutput read(const TexRun& run) {
        bool exact = true;
        const std::string document = windowsPath(run.document, &exact);
        const std::vector<std::string_view> lines = text::splitLines(run.output);
        return readCompileOutput(system.os, adoptDocument(system.files, document), lines,
                                 text::encodingOfOutput(run.output));
    }

private:
    const std::string folder_;
    const bool utf8_;
};
