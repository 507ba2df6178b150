// The error jump over real runs of pTeX and upTeX (tests/tex-runs/, made by
// tools/make_tex_runs.py): for every run, the files of the document and the
// files TeX read and wrote stand in the headless file system, and reading
// TeX's console output must send the editor to the file and line where the
// run's one error was put.
#include <gtest/gtest.h>

#include <filesystem>

#include "ReplayedCompile.h"

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
        ReplayedCompile compile("C:\\runs\\" + path.stem().string() + "\\", run.encoding == "utf-8");
        for (const std::string& name : run.other)
            compile.put(name);
        for (const TexRun::File& source : run.sources)
            compile.put(source.name);
        const std::string expectedFile = compile.expectedFile(run);
        const CompileOutput read = compile.read(run);
        const bool found = read.errorLine && read.errorFile == expectedFile && read.lineNumber == run.errorLine;
        EXPECT_TRUE(found) << "expected " << expectedFile << " line " << run.errorLine << ", got " << read.errorFile
                           << " line " << read.lineNumber << " from output line "
                           << (read.errorLine ? std::to_string(*read.errorLine + 1) : "none");
        right += found;
    }
    std::cout << "Real TeX runs with the editor sent to their error: " << right << " of " << paths.size() << "\n";
}
