// The error jump over real runs of pTeX and upTeX (tests/tex-runs/, made by
// tools/make_tex_runs.py): for every run, the files of the document and the
// files TeX read and wrote stand in the headless file system, and reading
// TeX's console output must send the editor to the file and line where the
// run's one error was put.
#include <gtest/gtest.h>

#include <filesystem>

#include "features/DocumentFiles.h"
#include "features/DocumentFolder.h"
#include "shared/TexRun.h"
#include "support/HeadlessOs.h"
#include "text/Lines.h"
#include "text/TexPlaces.h"

namespace {
std::vector<std::filesystem::path> runPaths() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VELUMO_TEX_RUNS_DIR))
        if (entry.path().extension() == ".run") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// A run's files in the headless file system, the document's with their text.
struct RunFiles {
    explicit RunFiles(const std::filesystem::path& path) : run(readTexRun(path.string())) {
        const std::string folder = "C:\\runs\\" + path.stem().string() + "\\";
        const bool utf8 = run.encoding == "utf-8";
        // The names as Windows holds them: in the code page, or, for a UTF-8
        // name without a code page form, only under its UTF-8 name.
        const auto windowsPath = [&](const std::string& name, bool* exact) {
            const std::string printed = backslashed(name);
            *exact = true;
            const std::string inCodePage = utf8 ? system.codePage.fromUtf8(printed, exact) : printed;
            return system.files.fullPathName(isRelativeName(name) ? folder + inCodePage : inCodePage);
        };
        std::vector<TexRun::File> files = run.sources;
        for (const std::string& name : run.other)
            files.push_back({name, ""});
        for (const TexRun::File& file : files) {
            bool exact = true;
            const std::string path = windowsPath(file.name, &exact);
            if (exact && !system.files.exists(path))
                system.files.put(path, file.content);
            else if (!exact)
                system.files.utf8OnlyFiles.insert(system.codePage.toUtf8(folder) + backslashed(file.name));
        }
        bool exact = true;
        document = adoptDocument(system.files, windowsPath(run.document, &exact));
        errorFile = windowsPath(run.errorFile, &exact);
        if (!exact) errorFile = document.texPath;
    }

    TexRun run;
    headless::HeadlessOs system;
    Document document;
    std::string errorFile;
};

// The line of a file, counted from 1.
std::string lineOf(const std::string& content, size_t number) {
    const std::vector<std::string_view> lines = text::splitLines(content);
    return number >= 1 && number <= lines.size() ? std::string(lines[number - 1]) : "";
}

// Whether the source line can be where the message was made: a warning's
// holds its command; a box's paragraph may be any text, but not an empty line.
bool madeBy(std::string_view message, const std::string& source) {
    if (message.find("full \\") != std::string_view::npos) return !source.empty();
    for (const auto& [words, command] : std::vector<std::pair<std::string_view, std::string_view>>{
             {"Reference", "ref{"}, {"Citation", "\\cite"}, {"Font shape", "family"},
             {"thebibliography", "thebibliography"}})
        if (message.find(words) != std::string_view::npos && source.find(command) != std::string::npos) return true;
    return false;
}
} // namespace

TEST(TexRuns, EveryRealRunSendsTheEditorToItsError) {
    const std::vector<std::filesystem::path> paths = runPaths();
    ASSERT_GE(paths.size(), 200u);

    size_t right = 0;
    for (const std::filesystem::path& path : paths) {
        SCOPED_TRACE(path.filename().string());
        RunFiles files(path);
        const std::vector<std::string_view> lines = text::splitLines(files.run.output);
        const CompileOutput read = readCompileOutput(files.system.os, files.document, lines,
                                                     text::encodingOfOutput(files.run.output));
        const bool found =
            read.errorLine && read.errorFile == files.errorFile && read.lineNumber == files.run.errorLine;
        EXPECT_TRUE(found) << "expected " << files.errorFile << " line " << files.run.errorLine << ", got "
                           << read.errorFile << " line " << read.lineNumber << " from output line "
                           << (read.errorLine ? std::to_string(*read.errorLine + 1) : "none");
        right += found;
    }
    std::cout << "Real TeX runs with the editor sent to their error: " << right << " of " << paths.size() << "\n";
}

// A click on a warning's or a box message's line that names a line of the
// source sends the editor to a line holding the command that made the
// message; a click on the error's line, to the error.
TEST(TexRuns, EveryWarningOfTheRealRunsIsOneClickFromItsSourceLine) {
    size_t messages = 0;
    for (const std::filesystem::path& path : runPaths()) {
        SCOPED_TRACE(path.filename().string());
        RunFiles files(path);
        const std::vector<std::string_view> lines = text::splitLines(files.run.output);
        const text::OutputEncoding encoding = text::encodingOfOutput(files.run.output);
        const DocumentFolder folder(files.system.os, files.document, encoding);
        const auto exists = [&](const std::string& name) { return folder.exists(name); };
        for (size_t i = 0, start = 0; i < lines.size(); ++i) {
            const std::string_view line = lines[i];
            const bool box = line.starts_with("Overfull \\") || line.starts_with("Underfull \\");
            if (box || line.find(" Warning: ") != std::string_view::npos) start = i;
            const bool namesLine = line.find("on input line") != std::string_view::npos ||
                                   (box && line.find(" at line") != std::string_view::npos) || line.starts_with("!");
            if (!namesLine) continue;
            const std::optional<text::TexPlace> place = text::placeOfLine(lines, i, exists, encoding);
            ASSERT_TRUE(place) << "output line " << i + 1 << ": " << line;
            const std::string innermost = place->openFiles.empty() ? "" : place->openFiles.back();
            const std::optional<std::string> named = folder.pathOf(place->fileName.empty() ? innermost : place->fileName);
            const std::string file = folder.editorFile(place->fileName, place->openFiles);
            const bool isError = file == files.errorFile && place->lineNumber == files.run.errorLine;
            // A paragraph that began in a file closed just before its box
            // message: TeX's first line number is that file's, which the
            // output does not tell.
            const bool afterClose = box && i > 0 && lines[i - 1].ends_with(")");
            if (line.starts_with("!")) {
                EXPECT_EQ(files.errorFile + ":" + files.run.errorLine, file + ":" + place->lineNumber);
            } else if (named) { // a name without a code page form sends the editor to the document
                const std::string source = lineOf(files.system.files.content(file), std::stoul(place->lineNumber));
                EXPECT_TRUE(madeBy(lines[start], source) || isError || afterClose)
                    << "output line " << i + 1 << " sends the editor to " << file << ":" << place->lineNumber;
                ++messages;
            }
        }
    }
    std::cout << "Warnings and box messages of the real runs checked: " << messages << "\n";
    EXPECT_GT(messages, 500u);
}
