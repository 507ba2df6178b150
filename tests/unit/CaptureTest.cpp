#include <gtest/gtest.h>

#include <functional>

#include "features/ConsoleRedirect.h"
#include "support/HeadlessOs.h"
#include "support/HeadlessToolkit.h"

using namespace headless;

namespace {
struct Capture {
    HeadlessToolkit ui;
    ScriptedDesktop desktop;
    ScriptedProcesses processes{desktop};
    std::string output = "stale", errors = "stale";
    std::function<bool()> endRequested;
    void run(const std::string& input = "R") {
        CapturedOutput captured = RunConsoleRedirect(processes, ui, "\"tool.exe\" a.tex", input, endRequested);
        output = captured.output;
        errors = captured.errors;
    }
};
} // namespace

TEST(Capture, StreamsAreKeptApartAndInputEndsWithCode26) {
    Capture capture;
    capture.processes.run.outputReads = {"out1\r\n", "out2"};
    capture.processes.run.errorReads = {"err"};
    capture.run();
    EXPECT_EQ("out1\r\nout2", capture.output);
    EXPECT_EQ("err", capture.errors);
    EXPECT_EQ((std::vector<std::string>{"\"tool.exe\" a.tex"}), capture.processes.started);
    EXPECT_EQ((std::vector<std::string>{"R\x1A"}), capture.processes.inputs);
    EXPECT_EQ(0, capture.processes.openHandles);
    EXPECT_EQ(0, capture.processes.running);

    Capture silent;
    silent.processes.run.errorReads = {"only errors"};
    silent.run("");
    EXPECT_EQ("", silent.output);
    EXPECT_EQ("only errors", silent.errors);
    EXPECT_EQ((std::vector<std::string>{"\x1A"}), silent.processes.inputs);
}

TEST(Capture, AZeroByteIsDroppedAndTheRestOfItsReadKept) {
    Capture capture;
    capture.processes.run.outputReads = {std::string("ab\0cd\0\0", 7), std::string("\0ef", 3)};
    capture.processes.run.errorReads = {std::string("\0x", 2)};
    capture.run();
    EXPECT_EQ("abcdef", capture.output);
    EXPECT_EQ("x", capture.errors);
}

TEST(Capture, PendingEventsAreHandledBeforeReading) {
    Capture capture;
    bool handled = false;
    capture.ui.postedEvents.push_back([&] { handled = true; });
    capture.processes.run.outputReads = {"x"};
    capture.run();
    EXPECT_TRUE(handled);
}

TEST(Capture, AProgramThatCannotStartRaisesTheSystemErrorAndLeaksNothing) {
    Capture capture;
    capture.processes.failures["\"tool.exe\" a.tex"] = 2;
    try {
        capture.run();
        FAIL();
    } catch (const platform::EOSError& error) {
        EXPECT_EQ(2u, error.code());
        EXPECT_EQ("システムエラー。コード：2.\r\n指定されたファイルが見つかりません。", error.message());
    }
    EXPECT_EQ(0, capture.processes.openHandles);

    capture.processes.failures["\"tool.exe\" a.tex"] = 0;
    EXPECT_THROW(capture.run(), platform::EOSError);
    try {
        capture.run();
    } catch (const platform::EOSError& error) {
        EXPECT_EQ("OS 機能呼び出しの失敗", error.message());
    }
}

// The program ends while a program it started holds the pipes: two seconds
// later the streams are given up, and the read that was in flight then is kept.
TEST(Capture, PipesHeldByAProgramItStartedAreGivenUpTwoSecondsAfterItsEnd) {
    Capture capture;
    capture.processes.run.outputReads = {"do", "ne"};
    capture.processes.run.errorReads = {"late"};
    capture.processes.run.keepsPipesOpen = true;
    capture.processes.run.exitsAtStep = 1;
    capture.run();
    EXPECT_EQ("done", capture.output);
    EXPECT_EQ("late", capture.errors);
    EXPECT_EQ(2000u, capture.processes.clock);
    EXPECT_EQ(0, capture.processes.openHandles);
}

// The program is ending: the compiler is ended at once, and what it wrote
// until then is kept, including the reads in flight when its streams were
// given up.
TEST(Capture, EndingTheProgramEndsTheCompilerAndKeepsWhatItWrote) {
    Capture capture;
    capture.processes.run.runsForever = true;
    capture.processes.run.outputReads = {"written", " in flight", " never"};
    capture.processes.run.errorReads = {"e1", "e2", "e3"};
    int steps = 0;
    capture.endRequested = [&] { return steps > 0; };
    capture.processes.run.whileRunning = [&] { ++steps; };
    capture.run();
    EXPECT_EQ("written in flight", capture.output);
    EXPECT_EQ("e1e2", capture.errors);
    EXPECT_EQ(1, steps);
    EXPECT_EQ(1, capture.processes.endedTrees);
    EXPECT_EQ(0, capture.processes.running);
    EXPECT_EQ(0, capture.processes.openHandles);
}

// Streams end at different times, and the program may end before either:
// the capture reads each to its end.
TEST(Capture, EachStreamIsReadToItsOwnEnd) {
    for (int exitsAtStep : {1, 3, 6}) {
        for (bool errorsLast : {false, true}) {
            Capture capture;
            const std::vector<std::string> longer = {"1", "2", "3", "4"}, shorter = {"x"};
            capture.processes.run.outputReads = errorsLast ? shorter : longer;
            capture.processes.run.errorReads = errorsLast ? longer : shorter;
            capture.processes.run.exitsAtStep = exitsAtStep;
            capture.run();
            EXPECT_EQ(errorsLast ? "x" : "1234", capture.output) << exitsAtStep;
            EXPECT_EQ(errorsLast ? "1234" : "x", capture.errors) << exitsAtStep;
            EXPECT_EQ(0, capture.processes.running);
        }
    }
}

TEST(Capture, EventsAreHandledWhileTheProgramRunsOnAfterClosingItsStreams) {
    Capture capture;
    capture.processes.run.outputReads = {"done"};
    capture.processes.run.exitsAtStep = 4; // its streams end at the second step
    // The user acts at each of the program's four steps; every act but the
    // one that comes as the program ends is handled while it still runs.
    int handledWhileRunning = 0;
    capture.processes.run.whileRunning = [&] {
        capture.ui.postedEvents.push_back([&] { handledWhileRunning += capture.processes.running; });
    };
    capture.run();
    EXPECT_EQ("done", capture.output);
    EXPECT_EQ(3, handledWhileRunning);
    EXPECT_EQ(0, capture.processes.running);
}
