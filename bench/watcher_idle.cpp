// The watcher's cost: CPU time of Velumo left idle with auto-compile on at the
// default interval, against the same idle time with it off, in the same run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
double cpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(value(kernel) + value(user)) / 1e7;
}

// CPU seconds Velumo spends over an idle span, once its start-up is over.
double idleCpu(bool autoCompile, int seconds) {
    Installation installation;
    writeFile(installation.path("idle.tex"), "x");
    Sleep(2100); // the DVI is newer by more than the two-second step: the watcher finds nothing to do
    writeFile(installation.path("idle.dvi"), "x");
    writeFile(installation.ini(), std::string("[Option]\r\nAutoCompile=") + (autoCompile ? "1" : "0") + "\r\n");
    Velumo velumo(installation, "\"" + installation.path("idle.tex") + "\"");
    HWND main = velumo.mainWindow();
    Sleep(1000);
    const double before = cpuSeconds(velumo.process());
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double used = cpuSeconds(velumo.process()) - before;
    PostMessageA(main, WM_CLOSE, 0, 0);
    velumo.waitForExit();
    return used;
}
} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const double off = idleCpu(false, seconds);
    const double on = idleCpu(true, seconds);
    std::printf("idle %d s: CPU with auto-compile off %.3f s, on %.3f s; the watcher costs %.3f%% of one core "
                "(target under 1%%)\n",
                seconds, off, on, (on - off) / seconds * 100.0);
    return 0;
}
