#include "e2e/Driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace e2e {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::string text = readFile(path);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

namespace {
std::string programFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}
} // namespace

Installation::Installation() {
    if (!CopyFileA((programFolder() + "\\Velumo.exe").c_str(), exe().c_str(), FALSE))
        throw std::runtime_error("cannot copy Velumo.exe");
}

std::string Installation::write(const std::string& name, const std::string& content) const {
    writeFile(path(name), content);
    return path(name);
}

void Installation::settings(const std::string& entries) const { writeFile(ini(), "[Option]\r\n" + entries); }

std::string Installation::add(const std::string& program, const std::string& asName) const {
    const std::string target = path(asName);
    CopyFileA((programFolder() + "\\" + program).c_str(), target.c_str(), FALSE);
    return target;
}

Velumo::Velumo(const Installation& installation, const std::string& arguments) {
    std::string commandLine = installation.exe();
    commandLine.insert(0, 1, '"').push_back('"');
    if (!arguments.empty()) commandLine.append(" ").append(arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, installation.folder().c_str(),
                        &startup, &info_))
        throw std::runtime_error("cannot start Velumo.exe");
}

Velumo::~Velumo() {
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Velumo::waitForExit(DWORD milliseconds) {
    return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

bool Velumo::running() { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

namespace {
struct Search {
    DWORD processId;
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !search->matches(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND waitForTopLevel(DWORD processId, const std::function<bool(HWND)>& matches, DWORD milliseconds) {
    HWND result = nullptr;
    waitUntil(
        [&] {
            Search search{processId, matches};
            EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
            result = search.found;
            return result != nullptr;
        },
        milliseconds);
    return result;
}
} // namespace

HWND Velumo::waitForWindow(const std::string& caption, DWORD milliseconds) {
    return waitForTopLevel(
        info_.dwProcessId, [&](HWND window) { return windowText(window) == caption; }, milliseconds);
}

HWND Velumo::mainWindow(DWORD milliseconds) {
    main_ = waitForTopLevel(
        info_.dwProcessId, [](HWND window) { return windowText(window).rfind("Velumo", 0) == 0; }, milliseconds);
    return main_;
}

bool Velumo::close(DWORD milliseconds) {
    if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
    return waitForExit(milliseconds);
}

HWND Velumo::waitForSystemDialog(DWORD milliseconds) {
    return waitForTopLevel(
        info_.dwProcessId,
        [](HWND window) {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            return lstrcmpA(name, "#32770") == 0;
        },
        milliseconds);
}

std::string windowText(HWND window) {
    char text[4096] = "";
    // WM_GETTEXT works across processes; GetWindowText would not read another program's controls.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

namespace {
struct Children {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectChild(HWND window, LPARAM parameter) {
    auto* children = reinterpret_cast<Children*>(parameter);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (!children->className || lstrcmpiA(name, children->className) == 0) children->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> childWindows(HWND parent, const char* className) {
    Children children{className, {}};
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&children));
    return children.found;
}

HWND childWithText(HWND parent, const std::string& text) {
    for (HWND child : childWindows(parent))
        if (windowText(child) == text) return child;
    return nullptr;
}

std::string dialogText(HWND dialog) {
    std::string text;
    for (HWND child : childWindows(dialog, "Static")) {
        const std::string t = windowText(child);
        if (t.size() > text.size()) text = t;
    }
    return text;
}

// Read as Unicode: that is how Wine carries a list box's lines between processes.
std::vector<std::string> listLines(HWND listBox) {
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring wide(static_cast<size_t>(SendMessageW(listBox, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        char bytes[8192] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
        lines.push_back(bytes);
    }
    return lines;
}

int listSelection(HWND listBox) { return static_cast<int>(SendMessageA(listBox, LB_GETCURSEL, 0, 0)); }

void press(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void command(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void menuKey(HWND window, char accessKey) { PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, accessKey); }

void typeText(HWND edit, const std::string& text) {
    for (unsigned char c : text)
        PostMessageA(edit, WM_CHAR, c, 1);
}

bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(20);
    }
    return true;
}

HWND waitForClass(const char* className, DWORD milliseconds) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            found = FindWindowA(className, nullptr);
            return found && IsWindowVisible(found);
        },
        milliseconds);
    return found;
}

DWORD processOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

// Wine starts a Unix program given by its Unix path.
bool startUnixProgram(const std::string& commandLine) {
    std::string writable = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    return true;
}

void xdotool(const std::string& arguments) { startUnixProgram("/usr/bin/xdotool " + arguments); }

void killUnixProcess(const std::string& pid) {
    if (startUnixProgram("/bin/kill -KILL " + pid)) Sleep(200);
}

POINT pointOfLine(HWND list, int index) {
    SendMessageA(list, LB_SETTOPINDEX, index, 0);
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    POINT point{20, (index - top) * height + height / 2};
    ClientToScreen(list, &point);
    return point;
}

int screenPixelsOf(const RECT& area, COLORREF colour) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int i = 0; i < width * height; ++i)
        if ((static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) == wanted) ++count;
    SelectObject(memory, previous);
    DeleteObject(copy);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

void touchNow(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(file, nullptr, nullptr, &now);
    CloseHandle(file);
}

int compilesWithin(HWND main, DWORD milliseconds) {
    int compiles = 0;
    bool compiling = windowText(main) == "コンパイル中";
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(10)) {
        const bool now = windowText(main) == "コンパイル中";
        compiles += now && !compiling;
        compiling = now;
    }
    return compiles;
}

std::vector<DWORD> childProcesses(DWORD parent) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return children;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return children;
}

namespace {
// The state letter and the parent of a Unix process, from its stat line,
// whose name in parentheses may itself hold blanks.
bool unixProcessState(const std::string& pid, char& state, std::string& parent) {
    const std::string stat = readFile("Z:\\proc\\" + pid + "\\stat");
    const size_t nameEnd = stat.rfind(") ");
    if (nameEnd == std::string::npos || nameEnd + 4 >= stat.size()) return false;
    state = stat[nameEnd + 2];
    const size_t parentStart = nameEnd + 4;
    parent = stat.substr(parentStart, stat.find(' ', parentStart) - parentStart);
    return true;
}
} // namespace

bool unixProcessRunning(const std::string& pid) {
    char state = 0;
    std::string parent;
    return unixProcessState(pid, state, parent) && state != 'Z' && state != 'X';
}

std::string unixCommandLine(const std::string& pid) { return readFile("Z:\\proc\\" + pid + "\\cmdline"); }

std::vector<std::string> bridgeUnixProcesses(DWORD bridgeProcessId) {
    std::vector<std::string> found;
    WIN32_FIND_DATAA work;
    const std::string pattern = "Z:\\tmp\\velumo-platex-" + std::to_string(bridgeProcessId) + "-*";
    HANDLE folder = FindFirstFileA(pattern.c_str(), &work);
    if (folder == INVALID_HANDLE_VALUE) return found;
    const std::string shell = readFile("Z:\\tmp\\" + std::string(work.cFileName) + "\\pid");
    FindClose(folder);
    if (shell.empty()) return found;
    found.push_back(shell.substr(0, shell.find_first_not_of("0123456789")));

    std::vector<std::pair<std::string, std::string>> processes; // id and parent of every running one
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        const std::string pid = entry.cFileName;
        char state = 0;
        std::string parent;
        if (pid.find_first_not_of("0123456789") == std::string::npos && unixProcessState(pid, state, parent) &&
            state != 'Z' && state != 'X')
            processes.emplace_back(pid, parent);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    // Walked again until no further descendant turns up.
    for (size_t known = 0; known != found.size();) {
        known = found.size();
        for (const auto& [pid, parent] : processes)
            if (std::find(found.begin(), found.end(), parent) != found.end() &&
                std::find(found.begin(), found.end(), pid) == found.end())
                found.push_back(pid);
    }
    found.erase(
        std::remove_if(found.begin(), found.end(), [](const std::string& pid) { return !unixProcessRunning(pid); }),
        found.end());
    return found;
}

} // namespace e2e
