// A DVI viewer of the tests: a window of its own and, unless it was started
// under the name plain_viewer.exe, a DDE server for service and topic
// "windvi". Started as busy_viewer.exe it never answers an execute: it
// blocks the transaction and leaves it unacknowledged, and with it everything
// that follows in that conversation, its end included (Wine's DDEML holds
// later transactions only once the conversation's callbacks are disabled).
// Started as slow_viewer.exe it serves nothing and takes three seconds before
// it makes its window and waits for input, as a big program's start does.
// Started as hung_viewer.exe it never gets ready for input: it waits a minute and ends.
// It notes each start in viewer_starts.txt and every execute it receives in
// executes.txt beside itself: the length (with the terminating NUL) and the
// text. (An execute carries no format: the server is given none.)
#include <windows.h>

#include <ddeml.h>

#include <string>

namespace {
DWORD instance = 0;
bool busy = false;
HSZ serviceName = nullptr;
std::string folder;

void note(const char* file, const std::string& line) {
    HANDLE handle = CreateFileA((folder + "\\" + file).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(handle);
}

bool isWindvi(HSZ name) { return DdeCmpStringHandles(name, serviceName) == 0; }

HDDEDATA CALLBACK ddeCallback(UINT type, UINT, HCONV conversation, HSZ topic, HSZ service, HDDEDATA data, ULONG_PTR,
                              ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(isWindvi(topic) && isWindvi(service)));
    case XTYP_EXECUTE: {
        const DWORD length = DdeGetData(data, nullptr, 0, 0);
        std::string bytes(length, '\0');
        DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), length, 0);
        const bool endsInNul = !bytes.empty() && bytes.back() == '\0';
        note("executes.txt", "length=" + std::to_string(length) + (endsInNul ? " nul" : " no-nul") +
                                 " text=" + std::string(bytes.c_str()));
        if (!busy) return reinterpret_cast<HDDEDATA>(DDE_FACK);
        DdeEnableCallback(instance, conversation, EC_DISABLE);
        return CBR_BLOCK;
    }
    default:
        return nullptr;
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instanceHandle, HINSTANCE, LPSTR, int show) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string exe = path;
    folder = exe.substr(0, exe.find_last_of('\\'));
    const std::string name = exe.substr(exe.find_last_of('\\') + 1);
    note("viewer_starts.txt", GetCommandLineA());

    if (lstrcmpiA(name.c_str(), "hung_viewer.exe") == 0) {
        Sleep(60000);
        return 0;
    }
    const bool slow = lstrcmpiA(name.c_str(), "slow_viewer.exe") == 0;
    if (slow) Sleep(3000);
    const bool serves = !slow && lstrcmpiA(name.c_str(), "plain_viewer.exe") != 0;
    busy = lstrcmpiA(name.c_str(), "busy_viewer.exe") == 0;
    if (serves) {
        DdeInitializeA(&instance, ddeCallback, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                       0);
        serviceName = DdeCreateStringHandleA(instance, "windvi", CP_WINANSI);
        DdeNameService(instance, serviceName, nullptr, DNS_REGISTER);
    }

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instanceHandle;
    windowClass.lpszClassName = "VelumoTestViewer";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("VelumoTestViewer", ("Test Viewer " + name).c_str(), WS_OVERLAPPEDWINDOW, 300, 100, 320,
                                240, nullptr, nullptr, instanceHandle, nullptr);
    ShowWindow(window, show);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (serves) {
        DdeNameService(instance, serviceName, nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(instance, serviceName);
        DdeUninitialize(instance);
    }
    return 0;
}
