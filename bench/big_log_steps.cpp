// The click of the big-log benchmark step by step, natively, so that
// callgrind can count each step's instructions and massif the heap's peak
// (both repeatable on a busy machine, unlike times under Wine): the same 6.3 MB
// of log (100,000 lines of 61 bytes and CR LF, every eighth in Shift-JIS)
// arrives in 1,024-byte reads, sixteen a wait, and goes through the compile
// the button runs and the fill of the list from its result ("velumo"), or
// through the steps of the bare program of bench_big_log ("bare"). Inside the
// compile, callgrind's inclusive counts of its functions give the steps. The
// list boxes are the headless toolkit's, a vector of strings standing for the
// list box's own copy of each line. Two clicks, so the second capture runs
// while the first log's list is still full, as in the benchmark.
//
//   valgrind --tool=callgrind build/bench/bench_big_log_steps velumo
//   valgrind --tool=massif build/bench/bench_big_log_steps bare
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "features/Compile.h"
#include "support/HeadlessOs.h"
#include "support/HeadlessToolkit.h"
#include "text/Lines.h"

namespace {
constexpr int lineCount = 100000;
constexpr size_t lineWidth = 61;
constexpr size_t readSize = 1024;
constexpr int readsPerWait = 16;

std::string bigLog() {
    std::string log;
    for (int number = 0; number < lineCount; ++number) {
        std::string line = number % 8 == 7
                               ? "(日本語の段落を組版中：第" + std::to_string(number) + "行"
                               : "(/usr/share/texlive/texmf-dist/tex/latex/base/size10.clo " + std::to_string(number);
        line.resize(lineWidth - 1, ' ');
        log += line + ")\r\n";
    }
    return log;
}

// A compiler that has written the whole log: each wait brings the next reads.
class LogChild : public platform::ConsoleChild {
public:
    explicit LogChild(std::string_view log) : log_(log) {}
    void writeInputAndClose(const std::string&) override {}
    void waitForActivity(int) override {
        for (int read = 0; read < readsPerWait && at_ < log_.size(); ++read, at_ += readSize)
            reads_.emplace_back(log_.substr(at_, readSize));
    }
    std::vector<std::string> takeOutputReads() override { return std::exchange(reads_, {}); }
    std::vector<std::string> takeErrorReads() override { return {}; }
    bool outputEnded() override { return at_ >= log_.size() && reads_.empty(); }
    bool errorEnded() override { return outputEnded(); }
    bool exited() override { return outputEnded(); }
    void abandonStreams() override {}
    void endTree() override {}

private:
    std::string_view log_;
    size_t at_ = 0;
    std::vector<std::string> reads_;
};

class LogCompiler : public platform::ProcessService {
public:
    // The companions and untracked programs are the headless world's.
    LogCompiler(std::string_view log, platform::ProcessService& others) : log_(log), others_(others) {}
    std::unique_ptr<platform::StartedProgram> startCompanion(const std::string& commandLine,
                                                             uint32_t& errorCode) override {
        return others_.startCompanion(commandLine, errorCode);
    }
    std::unique_ptr<platform::StartedProgram> startUntracked(const std::string& commandLine,
                                                             platform::ShowState show) override {
        return others_.startUntracked(commandLine, show);
    }
    std::unique_ptr<platform::ConsoleChild> startConsole(const std::string&, uint32_t&) override {
        return std::make_unique<LogChild>(log_);
    }
    std::string systemErrorText(uint32_t) override { return {}; }
    uint32_t tickCount() override { return 0; }

private:
    std::string_view log_;
    platform::ProcessService& others_;
};

void step(const char* name) { CALLGRIND_DUMP_STATS_AT(name); }

// The compile the button runs, then the list filled from its result as the
// main window fills it.
void velumoClick(Application& app, Watcher& watcher, headless::HeadlessListBox& log) {
    CALLGRIND_ZERO_STATS;
    const CompileResult result =
        compileDocument(app, watcher, Document{"big.tex", "big.dvi", "C:\\doc\\big.tex", "C:\\doc\\big.dvi"},
                        [&log](const text::TextLines& lines) { log.setLines(lines.lines()); });
    step("compile and fill");
    std::printf("velumo: %zu lines, %zu files read\n", result.log.lines().size(), result.filesRead.size());
}

// As the bare program of bench_big_log does: the reads appended to one text,
// then each line cut out of it and added to the list.
void bareClick(std::string_view logText, headless::HeadlessListBox& log) {
    CALLGRIND_ZERO_STATS;
    std::string text;
    for (size_t at = 0; at < logText.size(); at += readSize) {
        char buffer[readSize];
        const size_t count = logText.copy(buffer, readSize, at);
        text.append(buffer, count);
    }
    step("capture");
    log.setLines({});
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        log.addLine(text.substr(start, end - start));
    step("fill");
    std::printf("bare: %d lines\n", log.count());
}
} // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const std::string logText = bigLog();
    headless::HeadlessToolkit ui;
    headless::HeadlessOs os;
    os.files.put("C:\\doc\\big.tex", "x");
    os.files.put("C:\\Velumo\\Velumo.ini", "[Velumo]\r\nTeX=platex.exe\r\n");
    LogCompiler compiler(logText, os.processes);
    platform::Os system{os.profile, os.files, os.program, compiler,   os.shell,
                        os.desktop, os.dde,   os.locks,   os.codePage};
    Application app(ui, system);
    Watcher watcher;
    headless::HeadlessListBox log(platform::ControlSpec{});
    for (int click = 0; click < 2; ++click) {
        if (bare)
            bareClick(logText, log);
        else
            velumoClick(app, watcher, log);
    }
    return 0;
}
