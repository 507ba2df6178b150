// The error jump over real runs of pTeX and upTeX (tests/tex-runs/, made by
// tools/make_tex_runs.py): for every run, the files of the document and the
// files TeX read and wrote stand in the headless file system, and reading
// TeX's console output must send the editor to the file and line where the
// run's one error was put.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "features/DocumentFiles.h"
#include "support/HeadlessOs.h"
#include "text/Lines.h"

namespace {
struct TexRun {
    std::string name, encoding, document, errorFile, errorLine, output;
    std::vector<std::string> files; // every file present after the run, relative or as TeX names them
};

TexRun readRun(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string data = text.str();
    TexRun run;
    run.name = path.filename().string();
    for (size_t at = 0; at < data.size();) {
        const size_t end = data.find('\n', at);
        const std::string line = data.substr(at, end - at);
        at = end + 1;
        const size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank), value = line.substr(blank + 1);
        if (key == "file" || key == "output") {
            const size_t length = std::stoul(value);
            if (key == "output") run.output = data.substr(at, length);
            if (key == "file") run.files.push_back(value.substr(value.find(' ') + 1));
            at += length + 1;
        } else if (key == "error") {
            run.errorLine = value.substr(0, value.find(' '));
            run.errorFile = value.substr(value.find(' ') + 1);
        } else if (key == "input" || key == "made") {
            run.files.push_back(value);
        } else if (key == "encoding") {
            run.encoding = value;
        } else if (key == "document") {
            run.document = value;
        }
    }
    return run;
}

std::string backslashed(std::string name) {
    for (char& c : name)
        if (c == '/') c = '\\';
    return name;
}
} // namespace

TEST(TexRuns, EveryRealRunSendsTheEditorToItsError) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VELUMO_TEX_RUNS_DIR))
        if (entry.path().extension() == ".run") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    ASSERT_GE(paths.size(), 200u);

    size_t right = 0;
    for (const std::filesystem::path& path : paths) {
        const TexRun run = readRun(path);
        SCOPED_TRACE(run.name);
        headless::HeadlessOs system;
        const std::string folder = "C:\\runs\\" + path.stem().string() + "\\";
        const bool utf8 = run.encoding == "utf-8";
        // The names as Windows holds them: in the code page, or, for a UTF-8
        // name without a code page form, only under its UTF-8 name.
        const auto windowsPath = [&](const std::string& name, bool* exact) {
            const std::string printed = backslashed(name);
            const bool rooted = printed[0] == '\\' || (printed.size() > 1 && printed[1] == ':');
            *exact = true;
            const std::string inCodePage = utf8 ? system.codePage.fromUtf8(printed, exact) : printed;
            return system.files.fullPathName(rooted ? inCodePage : folder + inCodePage);
        };
        for (const std::string& name : run.files) {
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
