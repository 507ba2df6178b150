// The error jump over .log files that people committed to public repositories
// beside their documents (tests/real-logs/, made by tools/make_real_log_case.py):
// the repository's files that the log names stand as empty files where TeX
// found them, the log is read as the compiler's output, and the editor must
// go to the one source line whose text is what TeX's "l.N" line shows.
// The misses the reader has today are listed in known-misses.txt, so that a
// new miss fails, and so does a listed one that has come right.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "ReplayedCompile.h"

namespace {
// One line a case: its name, then why the reader misses it.
std::map<std::string, std::string> readKnownMisses(const std::string& path) {
    std::map<std::string, std::string> misses;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') {
            const size_t blank = line.find(' ');
            misses[line.substr(0, blank)] = blank == std::string::npos ? "" : line.substr(blank + 1);
        }
    return misses;
}

// The folder TeX ran in: the folder of the document when the log names it by
// its full path on the author's machine, else a folder of the case's own.
std::string runFolder(const TexRun& run, const std::string& caseName) {
    if (isRelativeName(run.document)) return "C:\\real-logs\\" + caseName + "\\";
    ReplayedCompile names("C:\\", false);
    bool exact = true;
    const std::string document = names.windowsPath(run.document, &exact);
    return document.substr(0, document.rfind('\\') + 1);
}
} // namespace

TEST(RealLogs, CommittedLogsSendTheEditorToTheirError) {
    std::vector<std::filesystem::path> paths;
    if (std::filesystem::is_directory(VELUMO_REAL_LOGS_DIR))
        for (const auto& entry : std::filesystem::directory_iterator(VELUMO_REAL_LOGS_DIR))
            if (entry.path().extension() == ".case") paths.push_back(entry.path());
    if (paths.empty()) GTEST_SKIP() << "no cases in " << VELUMO_REAL_LOGS_DIR;
    std::sort(paths.begin(), paths.end());
    std::map<std::string, std::string> knownMisses = readKnownMisses(VELUMO_REAL_LOGS_KNOWN_MISSES);

    size_t right = 0;
    for (const std::filesystem::path& path : paths) {
        const std::string name = path.stem().string();
        const TexRun run = readTexRun(path.string());
        ReplayedCompile compile(runFolder(run, name), run.encoding == "utf-8");
        for (const std::string& input : run.other)
            compile.put(input);
        const std::string expectedFile = compile.expectedFile(run);

        const CompileOutput read = compile.read(run);
        const bool found =
            read.errorLine && text::sameFileName(read.errorFile, expectedFile) && read.lineNumber == run.errorLine;
        if (!found)
            std::cout << "miss " << name << ": expected " << expectedFile << " line " << run.errorLine << ", got "
                      << read.errorFile << " line " << read.lineNumber << "\n";
        const bool known = knownMisses.erase(name) > 0;
        EXPECT_NE(found, known) << name << (found ? " is right now: take it off known-misses.txt" : " is a new miss");
        right += found;
    }
    for (const auto& [name, reason] : knownMisses)
        ADD_FAILURE() << "known-misses.txt names " << name << ", which is not in the corpus";
    std::cout << "Committed logs with the editor sent to their error: " << right << " of " << paths.size() << "\n";
}
