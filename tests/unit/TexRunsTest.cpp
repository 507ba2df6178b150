// The error jump over real runs of pTeX and upTeX (tests/tex-runs/, made by
// tools/make_tex_runs.py): for every run, the files of the document (with
// their text) and the files TeX read and wrote stand in the headless file
// system, and reading TeX's console output must send the editor to the file
// and line where the run's one error was put; a double-click on a warning
// or a box message, to a line that can have made it.
#include <gtest/gtest.h>

#include <filesystem>

#include "ReplayedCompile.h"
#include "features/DocumentFolder.h"
#include "text/TexPlaces.h"

namespace {
// Whether line `number` of the file can have made the message: a warning's
// holds its command; a box's paragraph starts with some text.
bool madeBy(std::string_view message, const std::string& file, size_t number) {
    const std::vector<std::string_view> lines = text::splitLines(file);
    const std::string_view source = number >= 1 && number <= lines.size() ? lines[number - 1] : "";
    if (message.find("full \\") != std::string_view::npos) return !source.empty();
    for (const auto& [words, command] : std::vector<std::pair<std::string_view, std::string_view>>{
             {"Reference", "ref{"}, {"Citation", "\\cite"}, {"Font shape", "family"}, {"thebibliography", "thebibl"}})
        if (message.find(words) != std::string_view::npos && source.find(command) != std::string_view::npos)
            return true;
    return false;
}
} // namespace

TEST(TexRuns, EveryRealRunSendsTheEditorToItsErrorAndEachWarningToItsLine) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VELUMO_TEX_RUNS_DIR))
        if (entry.path().extension() == ".run") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    ASSERT_GE(paths.size(), 200u);

    size_t right = 0, warnings = 0;
    for (const std::filesystem::path& path : paths) {
        const TexRun run = readTexRun(path.string());
        SCOPED_TRACE(path.filename().string());
        ReplayedCompile compile("C:\\runs\\" + path.stem().string() + "\\", run.encoding == "utf-8");
        for (const std::string& name : run.other)
            compile.put(name);
        for (const TexRun::File& source : run.sources)
            compile.put(source.name);
        const std::string expectedFile = compile.expectedFile(run);
        bool exact = true;
        for (const TexRun::File& source : run.sources)
            if (const std::string file = compile.windowsPath(source.name, &exact); exact)
                compile.system.files.put(file, source.content);
        const std::string document = compile.windowsPath(run.document, &exact);
        headless::MemoryFileSystem& files = compile.system.files;

        const CompileOutput read = compile.read(run);
        const bool found = read.errorLine && read.errorFile == expectedFile && read.lineNumber == run.errorLine;
        EXPECT_TRUE(found) << "expected " << expectedFile << " line " << run.errorLine << ", got " << read.errorFile
                           << " line " << read.lineNumber << " from output line "
                           << (read.errorLine ? std::to_string(*read.errorLine + 1) : "none");
        right += found;

        const std::vector<std::string_view> lines = text::splitLines(run.output);
        const DocumentFolder documentFolder(compile.system.os, adoptDocument(files, document),
                                            text::encodingOfOutput(run.output));
        for (size_t i = 0, start = 0; i < lines.size(); ++i) {
            const bool box = lines[i].starts_with("Overfull \\") || lines[i].starts_with("Underfull \\");
            if (box || lines[i].find(" Warning: ") != std::string_view::npos) start = i;
            if (lines[i].find(box ? " at line" : "on input line") == std::string_view::npos) continue;
            const auto place = text::placeOfLine(
                lines, i, [&](const std::string& name) { return documentFolder.exists(name); },
                text::encodingOfOutput(run.output));
            ASSERT_TRUE(place) << "output line " << i + 1;
            const std::string file = documentFolder.editorFile(place->fileName, place->openFiles);
            // The document stands in for a file whose name has no code page form;
            // a paragraph that began in a file closed just before its box
            // message has that file's first line number.
            const bool unknown = (file == document && !files.utf8OnlyFiles.empty()) ||
                                 (box && lines[i - 1].ends_with(")")) ||
                                 (file == expectedFile && place->lineNumber == run.errorLine); // an error's text
            warnings += !unknown;
            EXPECT_TRUE(unknown || madeBy(lines[start], files.content(file), std::stoul(place->lineNumber)))
                << "output line " << i + 1 << " sends the editor to " << file << ":" << place->lineNumber;
        }
    }
    std::cout << "Real TeX runs with the editor sent to their error: " << right << " of " << paths.size()
              << "; warnings and box messages sent to their line: " << warnings << "\n";
    EXPECT_GT(warnings, 800u);
}
