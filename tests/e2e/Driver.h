#pragma once
// Drives Velumo.exe from another Windows process, as a user would: it starts
// the program in a folder of its own (so the settings file beside it is the
// test's), finds its windows by caption, presses buttons, types and closes.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/TempFolder.h"

namespace e2e {

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
// The lines of a text file whose lines end in CR LF.
std::vector<std::string> readLines(const std::string& path);

// A fresh folder holding a copy of Velumo.exe.
class Installation {
public:
    Installation();
    const std::string& folder() const { return folder_.path(); }
    std::string exe() const { return folder_.file("Velumo.exe"); }
    std::string ini() const { return folder_.file("Velumo.ini"); }
    std::string path(const std::string& name) const { return folder_.file(name); }
    // Writes a file of the folder and answers its path.
    std::string write(const std::string& name, const std::string& content) const;
    // Writes the settings file: section [Option] with these lines.
    void settings(const std::string& entries) const;
    // Copies a program built beside the tests (platex.exe, a test program) into the folder.
    std::string add(const std::string& program) const { return add(program, program); }
    std::string add(const std::string& program, const std::string& asName) const;

private:
    TempFolder folder_{"e2e"};
};

class Velumo {
public:
    // Starts Velumo.exe with the arguments (appended to its quoted path) in its folder.
    Velumo(const Installation& installation, const std::string& arguments = "");
    ~Velumo(); // ends the program if it still runs
    bool waitForExit(DWORD milliseconds = 10000);
    bool running();
    DWORD processId() const { return info_.dwProcessId; }
    HANDLE process() const { return info_.hProcess; }

    // The first visible top-level window of the program whose caption is caption.
    HWND waitForWindow(const std::string& caption, DWORD milliseconds = 10000);
    HWND mainWindow(DWORD milliseconds = 10000); // caption starting with "Velumo"
    // Closes the main window that mainWindow found, as its close box does, and waits for the end.
    bool close(DWORD milliseconds = 10000);
    // The first visible dialog of the system's kind ("#32770"): a file dialog, a message box.
    HWND waitForSystemDialog(DWORD milliseconds = 10000);

private:
    HWND main_ = nullptr;
    PROCESS_INFORMATION info_{};
};

std::string windowText(HWND window);
std::vector<HWND> childWindows(HWND parent, const char* className = nullptr);
HWND childWithText(HWND parent, const std::string& text);
// The text of a message dialog (its static text control).
std::string dialogText(HWND dialog);
// The lines of a list box and its selected line (-1: none).
std::vector<std::string> listLines(HWND listBox);
int listSelection(HWND listBox);
void press(HWND button);           // as a click does
void command(HWND window, int id); // WM_COMMAND, as a menu item or a dialog key does
// Opens the menu-bar item with this access key, as Alt and the key do (menus
// belong to the program that made them, so their ids cannot be read from here).
void menuKey(HWND window, char accessKey);
void typeText(HWND edit, const std::string& text); // character messages, as keystrokes give
bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds = 10000);
RECT windowRect(HWND window);
// The first visible top-level window of the window class, in any program.
HWND waitForClass(const char* className, DWORD milliseconds = 10000);
DWORD processOf(HWND window);
// Starts a Unix program by its path; Wine gives no process back to wait on.
bool startUnixProgram(const std::string& commandLine);
// The X display's real mouse and keyboard, moved by xdotool.
void xdotool(const std::string& arguments);
void killUnixProcess(const std::string& pid);
// The Windows processes that the process started and that still run.
std::vector<DWORD> childProcesses(DWORD parent);
// The Unix processes that a platex.exe bridge started: the shell whose process
// id the bridge keeps in its work folder, and every process whose parent chain
// leads to that shell. Ids of processes that have not ended.
std::vector<std::string> bridgeUnixProcesses(DWORD bridgeProcessId);
bool unixProcessRunning(const std::string& pid);
// The arguments of a Unix process, each followed by a zero byte.
std::string unixCommandLine(const std::string& pid);
RECT clientRect(HWND window);
// The screen point 20 pixels into the list's line, scrolled into view; the
// index one past the last line gives the point just below it.
POINT pointOfLine(HWND list, int index);
// How many pixels of the screen inside area show exactly this colour.
int screenPixelsOf(const RECT& area, COLORREF colour);
// Gives the file the current time as its last-write time, as a save does.
void touchNow(const std::string& path);
// How many compiles start within the span: the title turns to "コンパイル中"
// for each (a pTeX run through the bridge takes well over the polling step).
int compilesWithin(HWND main, DWORD milliseconds);

} // namespace e2e
