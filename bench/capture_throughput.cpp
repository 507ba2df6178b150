// Capture throughput: 64 MiB of a child's log lines captured as the program
// captures a compile (RunConsoleRedirect: both output pipes read on the
// calling thread, window messages handled between reads), against the
// simplest loop that does the job: the same child's output and errors on one
// 4096-byte pipe, read with 1024-byte ReadFile calls in the calling thread.
// Both keep the text they read; both are measured in this run.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "features/ConsoleRedirect.h"
#include "platform/win32/OwnedHandle.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Toolkit.h"

using platform::win32::OwnedHandle;

namespace {

constexpr uint64_t payload = 64ull << 20; // 1,048,576 lines of 64 bytes
constexpr int rounds = 7;

std::string childCommand() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return "\"" + folder + "child_simulator.exe\" log 64";
}

double seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

HANDLE inheritable(HANDLE handle) {
    HANDLE duplicate = nullptr;
    DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &duplicate, 0, TRUE,
                    DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS);
    return duplicate;
}

// The baseline: output and errors on one 4096-byte pipe, the input (R and
// Ctrl-Z, then closed) on a 65536-byte one, 1024-byte reads in this thread.
uint64_t readDirectly() {
    OwnedHandle outRead, outWrite, inRead, inWrite;
    if (!CreatePipe(outRead.receive(), outWrite.receive(), nullptr, 4096) ||
        !CreatePipe(inRead.receive(), inWrite.receive(), nullptr, 65536))
        return 0;
    outWrite.reset(inheritable(outWrite.release()));
    inRead.reset(inheritable(inRead.release()));
    PROCESS_INFORMATION info{};
    if (!platform::win32::startHiddenConsoleProgram(childCommand(), inRead.get(), outWrite.get(), outWrite.get(), info))
        return 0;
    OwnedHandle process(info.hProcess), thread(info.hThread);
    outWrite.reset();
    inRead.reset();
    DWORD written = 0;
    WriteFile(inWrite.get(), "R\x1A", 2, &written, nullptr);
    inWrite.reset();
    std::string output;
    char buffer[1024];
    DWORD count = 0;
    while (ReadFile(outRead.get(), buffer, sizeof buffer, &count, nullptr) && count > 0)
        output.append(buffer, count);
    WaitForSingleObject(process.get(), INFINITE);
    return output.size();
}

// The capture as a compile runs it.
uint64_t readThroughCapture(platform::ProcessService& service, platform::Toolkit& toolkit) {
    const CapturedOutput captured = RunConsoleRedirect(service, toolkit, childCommand(), "R");
    return captured.output.size() + captured.errors.size();
}

// Seconds of one run; complete turns false when bytes went missing.
template <class Run> double secondsOf(Run&& run, bool& complete) {
    const double start = seconds();
    const uint64_t bytes = run();
    const double elapsed = seconds() - start;
    if (bytes != payload) complete = false;
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double mibPerSecond(double elapsed) { return double(payload) / (1 << 20) / elapsed; }

} // namespace

int main() {
    std::unique_ptr<platform::ProcessService> service = platform::win32::createWin32ProcessService();
    platform::win32::Win32Toolkit toolkit;
    bool complete = true;
    readDirectly(); // warm-up: the first start of a program is slower
    // Alternating rounds share whatever else the machine is doing.
    std::vector<double> baseline, captured, ratios;
    for (int round = 0; round < rounds; ++round) {
        baseline.push_back(secondsOf(readDirectly, complete));
        captured.push_back(secondsOf([&] { return readThroughCapture(*service, toolkit); }, complete));
        ratios.push_back(baseline.back() / captured.back());
    }
    std::printf("capture_throughput: 64 MiB of child output, medians of %d alternating rounds\n", rounds);
    std::printf("  baseline (one pipe, ReadFile loop in the calling thread): %6.1f MiB/s (best %.1f)\n",
                mibPerSecond(median(baseline)), mibPerSecond(*std::min_element(baseline.begin(), baseline.end())));
    std::printf("  capture (RunConsoleRedirect):                             %6.1f MiB/s (best %.1f)\n",
                mibPerSecond(median(captured)), mibPerSecond(*std::min_element(captured.begin(), captured.end())));
    std::printf("  ratio: %.2f of the medians, %.2f median of the rounds' own (target at least 0.90)\n",
                median(baseline) / median(captured), median(ratios));
    if (!complete) std::printf("  ERROR: a run did not deliver all 64 MiB\n");
    return complete ? 0 : 1;
}
