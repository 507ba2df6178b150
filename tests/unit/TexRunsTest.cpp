// The error jump over real runs of pTeX and upTeX (tests/tex-runs/, made by
// tools/make_tex_runs.py): for every run, the files of the document and the
// files TeX read and wrote stand in the headless file system, and reading
// TeX's console output must send the editor to the file and line where the
// run's one error was put.
#include <gtest/gtest.h>

#include <filesystem>

#include "features/DocumentFiles.h"
#include "shared/TexRun.h"
#include "support/HeadlessOs.h"
#include "text/Lines.h"

TEST(TexRuns, EveryRealRunSendsTheEditorToItsError) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VELUMO_TEX_RUNS_DIR))
        if (entry.path().extension() == ".run") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    ASSERT_GE(paths.size(), 200u);

    size_t right = 0;
    for (const std::filesystem::path& path : paths) {
        const TexRun run = readTexRun(path.string());
        SCOPED_TRACE(path.filename().string());
        headless::HeadlessOs system;
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
        std::vector<std::string> files = run.other;
        for (const TexRun::File& source : run.sources)
            files.push_back(source.name);
        for (const std::string& name : files) {
            bool exact = true;
            const std::string file = windowsPath(name, &exact);
            if (exact)
                system.files.put(file, "");
            else
                system.files.utf8OnlyFiles.insert(system.codePage.toUtf8(folder) + backslashed(name));
        }
        bool exact = true;
        const std::string document = windowsPath(run.document, &exact);
        std::string expectedFile = windowsPath(run.errorFile, &exact);
        if (!exact) expectedFile = document;

        const std::vector<std::string_view> lines = text::splitLines(run.output);
        const CompileOutput read = readCompileOutput(system.os, adoptDocument(system.files, document), lines,
                                                     text::encodingOfOutput(run.output));
        const bool found = read.errorLine && read.errorFile == expectedFile && read.lineNumber == run.errorLine;
        EXPECT_TRUE(found) << "expected " << expectedFile << " line " << run.errorLine << ", got " << read.errorFile
                           << " line " << read.lineNumber << " from output line "
                           << (read.errorLine ? std::to_string(*read.errorLine + 1) : "none");
        right += found;
    }
    std::cout << "Real TeX runs with the editor sent to their error: " << right << " of " << paths.size() << "\n";
}
