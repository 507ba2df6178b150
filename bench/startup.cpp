// Start-up time of Velumo.exe (a settings file beside it, a document as its
// argument) against Wine's notepad.exe started the same way, and a bare Win32
// window program (this program started with --bare-window): from CreateProcess
// until the process's first visible top-level window, alternating runs, medians.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/Driver.h"

using namespace e2e;

namespace {
const char* const bareWindowFlag = "--bare-window";
const int pairs = 15;

const std::string completeSettings = "[Option]\r\nEditor=notepad.exe\r\nTeX=platex.exe\r\nDviWare=dviout.exe\r\n"
                                     "AutoCompile=0\r\nCheckInterval=1000\r\nFileExt=log,aux\r\nErrorJump=1\r\n"
                                     "JumpOption=\r\nUseDDE=0\r\nAutoDVI=0\r\nFocusTeX=0\r\nTop=100\r\nLeft=100\r\n";

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK bareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The baseline: the least a Win32 program does to show a window.
int runBareWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = bareWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "BareWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("BareWindow", "Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400,
                                300, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findVisibleTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// Milliseconds from CreateProcess to the first visible top-level window of the
// new process (negative if none within 10 s); then closes the program.
double timeToFirstWindow(std::string commandLine, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = now();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, folder.c_str(),
                        &startup, &process))
        return -1;
    Search search{process.dwProcessId, nullptr};
    while (!search.found && now() - start < 10) {
        EnumWindows(findVisibleTopLevel, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    const double milliseconds = search.found ? (now() - start) * 1000 : -1;

    if (search.found) PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 3000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 3000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return milliseconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string thisProgram() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string notepadPath() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\notepad.exe";
}
} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], bareWindowFlag) == 0) return runBareWindow();

    Installation installation;
    const std::string document = installation.path("doc.tex");
    writeFile(document, "\\documentclass{jarticle}\n\\begin{document}\nStart-up.\n\\end{document}\n");
    const std::string velumo = quoted(installation.exe()) + " " + quoted(document);
    const std::string notepad = quoted(notepadPath()) + " " + quoted(document);
    const std::string bare = quoted(thisProgram()) + " " + bareWindowFlag;

    // One warm-up of each, so that all of them start from warm file caches.
    for (const std::string* commandLine : {&velumo, &notepad, &bare}) {
        writeFile(installation.ini(), completeSettings);
        timeToFirstWindow(*commandLine, installation.folder());
    }
    std::vector<double> velumoTimes, notepadTimes, bareTimes;
    for (int pair = 0; pair < pairs; ++pair) {
        writeFile(installation.ini(), completeSettings); // closing rewrites the window position
        velumoTimes.push_back(timeToFirstWindow(velumo, installation.folder()));
        notepadTimes.push_back(timeToFirstWindow(notepad, installation.folder()));
        bareTimes.push_back(timeToFirstWindow(bare, installation.folder()));
    }
    for (const auto* times : {&velumoTimes, &notepadTimes, &bareTimes})
        if (std::count_if(times->begin(), times->end(), [](double t) { return t < 0; })) {
            std::printf("a program showed no window within 10 s\n");
            return 1;
        }

    const double velumoMedian = median(velumoTimes), notepadMedian = median(notepadTimes);
    std::printf("Start-up to first visible window, median of %d: Velumo %.1f ms, notepad %.1f ms, "
                "bare window %.1f ms; Velumo/notepad %.3f (target at most 1.1)\n",
                pairs, velumoMedian, notepadMedian, median(bareTimes), velumoMedian / notepadMedian);
    return 0;
}
