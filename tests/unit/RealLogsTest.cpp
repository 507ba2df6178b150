// The error jump over .log files that people committed to public repositories
// beside their documents (the shared corpus that test.sh unpacks, made by
// tools/make_real_log_case.py; tests/real-logs/README.md): the repository's
// files that the log names stand as empty files where TeX found them, the log
// is read as the compiler's output, and the editor must go to the one source
// line whose text is what TeX's "l.N" line shows: after the compile for the
// first error, and on a double-click on the first line of each error the case
// tells. The misses the reader has today are listed in known-misses.txt, so
// that a new miss fails, and so does a listed one that has come right.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

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

// The logs the corpus is made of, "owner/name commit path" a line.
std::set<std::string> readSources(const std::string& path) {
    std::set<std::string> sources;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') sources.insert(line);
    return sources;
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
    if (paths.empty())
        GTEST_SKIP() << "no cases in " << VELUMO_REAL_LOGS_DIR << ": test.sh unpacks them there from "
                     << VELUMO_REAL_LOGS_ARCHIVE << " (tests/real-logs/README.md)";
    std::sort(paths.begin(), paths.end());
    std::map<std::string, std::string> knownMisses = readKnownMisses(VELUMO_REAL_LOGS_KNOWN_MISSES);
    std::set<std::string> listed = readSources(VELUMO_REAL_LOGS_SOURCES);
    const size_t listedCount = listed.size();

    size_t right = 0, errorsChecked = 0, errorsRight = 0;
    for (const std::filesystem::path& path : paths) {
        const std::string name = path.stem().string();
        const TexRun run = readTexRun(path.string());
        if (listedCount > 0 && listed.erase(run.source) == 0)
            ADD_FAILURE() << name << " is not in " << VELUMO_REAL_LOGS_SOURCES << ": the list and the cases drifted";
        ReplayedCompile compile(runFolder(run, name), run.encoding == "utf-8");
        for (const std::string& input : run.other)
            compile.put(input);

        // The jump after the compile, to the first error.
        const std::string expectedFile = compile.expectedFile(run);
        const CompileOutput read = compile.read(run);
        bool found =
            read.errorLine && text::sameFileName(read.errorFile, expectedFile) && read.lineNumber == run.errorLine;
        if (!found)
            std::cout << "miss " << name << ": expected " << expectedFile << " line " << run.errorLine << ", got "
                      << read.errorFile << " line " << read.lineNumber << "\n";

        // A double-click on each error; a case of the first form tells its
        // first error alone, clicked where the reading found it.
        std::vector<TexRun::Error> errors = run.errors;
        if (errors.empty() && read.errorLine) errors.push_back({*read.errorLine + 1, run.errorLine, run.errorFile});
        errorsChecked += errors.size();
        std::map<std::string, std::string> expectedFiles; // of the names the errors give
        for (const TexRun::Error& error : errors) {
            auto [known, added] = expectedFiles.try_emplace(error.file);
            if (added) known->second = compile.expectedFile(run, error.file);
            const std::string& file = known->second;
            const auto place = compile.placeOf(read, error.outputLine - 1);
            const bool placed = place && text::sameFileName(place->file, file) && place->lineNumber == error.line;
            if (!placed)
                std::cout << "miss " << name << " at output line " << error.outputLine << ": expected " << file
                          << " line " << error.line << ", got "
                          << (place ? place->file + " line " + place->lineNumber : "no place") << "\n";
            errorsRight += placed;
            found = found && placed;
        }
        const bool known = knownMisses.erase(name) > 0;
        EXPECT_NE(found, known) << name << (found ? " is right now: take it off known-misses.txt" : " is a new miss");
        right += found;
    }
    for (const auto& [name, reason] : knownMisses)
        ADD_FAILURE() << "known-misses.txt names " << name << ", which is not in the corpus";
    std::cout << "Committed logs replayed: " << paths.size();
    if (listedCount > 0)
        std::cout << " of " << listedCount << " listed; " << listed.size()
                  << " refused by the builder (tests/real-logs/README.md says why)";
    std::cout << "\nCommitted logs with the editor sent to every error checked: " << right << " of " << paths.size()
              << "\nErrors that a double-click sends the editor to: " << errorsRight << " of " << errorsChecked << "\n";
}
