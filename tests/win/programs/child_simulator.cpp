// A console program whose behaviour the tests choose by its arguments:
//   silent                 writes nothing
//   stderr-only N          writes N letters to its standard error only
//   zero                   writes "ab", a zero byte, "cdef" in one write
//   exact1024              writes 1024 bytes in one write
//   flood OUT_MIB ERR_MIB  interleaves the byte patterns of both streams
//   log MIB                writes MIB of 64-byte text lines to its output, 4096 bytes a write,
//                          as a program's C runtime does
//   read-to-end            reads its input to the end, then writes it in hex
//   grandchild SECONDS     starts "sleep SECONDS" with its own standard handles,
//                          writes "pid N" and ends at once
//   grandchild-loop SECONDS  as grandchild, then runs on itself for SECONDS
//   grandchild-late NAME   as grandchild, the program it starts being "late NAME"
//   late NAME              once the event NAME-write is signalled, writes "late" and
//                          signals NAME-written, then waits a minute
//   sleep SECONDS          waits, writing nothing
//   echo-input             writes back its input up to the byte 26 or the end
//   run-on NAME            closes its output and error, leaves its console, signals the event
//                          NAME-closed, then runs until the event NAME-release
//                          is signalled (exit code 0) or ten seconds pass (5)
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Byte number index of a flood stream; ConsoleChildTest.cpp checks against
// the same function.
unsigned char patternByte(uint32_t index, uint32_t seed) {
    uint32_t x = index * 2654435761u ^ seed;
    x ^= x >> 15;
    x *= 0x2c1b3c6du;
    x ^= x >> 12;
    return static_cast<unsigned char>(x >> 24);
}
constexpr uint32_t outputSeed = 0x0u;
constexpr uint32_t errorSeed = 0x5bd1e995u;

void writeAll(DWORD stream, const void* data, size_t size) {
    const HANDLE handle = GetStdHandle(stream);
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0) ExitProcess(3);
        bytes += written;
        size -= written;
    }
}

void writeAll(DWORD stream, const std::string& text) { writeAll(stream, text.data(), text.size()); }

std::string readInput(bool stopAtEndOfFileByte) {
    std::string input;
    char byte;
    DWORD count = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &count, nullptr) && count == 1) {
        if (stopAtEndOfFileByte && byte == 26) break;
        input += byte;
    }
    return input;
}

// Writes the next piece of a flood stream; pieces of odd sizes cross the
// reader's 1024-byte reads at changing places.
void writePiece(DWORD stream, uint32_t seed, uint32_t& position, uint32_t total, uint32_t pieceSize) {
    std::vector<unsigned char> piece;
    piece.reserve(pieceSize);
    for (uint32_t i = 0; i < pieceSize && position < total; ++i)
        piece.push_back(patternByte(position++, seed));
    writeAll(stream, piece.data(), piece.size());
}

void flood(uint32_t outputMib, uint32_t errorMib) {
    const uint32_t outputTotal = outputMib << 20, errorTotal = errorMib << 20;
    uint32_t output = 0, error = 0;
    while (output < outputTotal || error < errorTotal) {
        if (output < outputTotal) writePiece(STD_OUTPUT_HANDLE, outputSeed, output, outputTotal, 3001);
        // Error keeps pace with output in proportion to the totals.
        const uint64_t errorDue = outputTotal ? uint64_t(output) * errorTotal / outputTotal : errorTotal;
        while (error < errorDue || (output >= outputTotal && error < errorTotal))
            writePiece(STD_ERROR_HANDLE, errorSeed, error, errorTotal, 777);
    }
}

void writeLog(uint32_t mib) {
    std::string buffer;
    for (uint32_t line = 0; line < (mib << 20) / 64; ++line) {
        std::string text = "(/usr/share/texlive/texmf-dist/tex/latex/base/size10.clo " + std::to_string(line);
        text.resize(61, ' ');
        buffer += text + ")\r\n";
        if (buffer.size() >= 4096) {
            writeAll(STD_OUTPUT_HANDLE, buffer.data(), 4096);
            buffer.erase(0, 4096);
        }
    }
    writeAll(STD_OUTPUT_HANDLE, buffer);
}

int startGrandchild(const std::string& arguments) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info))
        return 4;
    writeAll(STD_OUTPUT_HANDLE, "pid " + std::to_string(info.dwProcessId));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return 0;
}

int writeLate(const std::string& name) {
    const HANDLE write = OpenEventA(SYNCHRONIZE, FALSE, (name + "-write").c_str());
    const HANDLE written = OpenEventA(EVENT_MODIFY_STATE, FALSE, (name + "-written").c_str());
    if (!write || !written || WaitForSingleObject(write, 60000) != WAIT_OBJECT_0) return 4;
    writeAll(STD_OUTPUT_HANDLE, "late");
    SetEvent(written);
    Sleep(60000);
    return 0;
}

int runOn(const std::string& name) {
    CloseHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    CloseHandle(GetStdHandle(STD_ERROR_HANDLE));
    // Under Wine the host of this program's hidden console inherited the
    // pipe ends too; it ends, and lets them go, once the console has no program.
    FreeConsole();
    const HANDLE closed = OpenEventA(EVENT_MODIFY_STATE, FALSE, (name + "-closed").c_str());
    const HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, (name + "-release").c_str());
    if (!closed || !release) return 4;
    SetEvent(closed);
    return WaitForSingleObject(release, 10000) == WAIT_OBJECT_0 ? 0 : 5;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const char* arg1 = argc > 2 ? argv[2] : "0";
    const char* arg2 = argc > 3 ? argv[3] : "0";

    if (mode == "silent") return 0;
    if (mode == "stderr-only") {
        std::string text;
        for (int i = 0; i < std::atoi(arg1); ++i)
            text += char('a' + i % 26);
        writeAll(STD_ERROR_HANDLE, text);
        return 0;
    }
    if (mode == "zero") {
        writeAll(STD_OUTPUT_HANDLE, std::string("ab\0cdef", 7));
        return 0;
    }
    if (mode == "exact1024") {
        writeAll(STD_OUTPUT_HANDLE, std::string(1024, 'x'));
        return 0;
    }
    if (mode == "flood") {
        flood(std::atoi(arg1), std::atoi(arg2));
        return 0;
    }
    if (mode == "log") {
        writeLog(std::atoi(arg1));
        return 0;
    }
    if (mode == "read-to-end") {
        static const char digits[] = "0123456789ABCDEF";
        std::string hex;
        for (unsigned char byte : readInput(false)) {
            hex += digits[byte >> 4];
            hex += digits[byte & 15];
        }
        writeAll(STD_OUTPUT_HANDLE, hex);
        return 0;
    }
    if (mode == "grandchild") return startGrandchild(std::string("sleep ") + arg1);
    if (mode == "grandchild-late") return startGrandchild(std::string("late ") + arg1);
    if (mode == "late") return writeLate(arg1);
    if (mode == "grandchild-loop") {
        if (const int failed = startGrandchild(std::string("sleep ") + arg1)) return failed;
        Sleep(std::atoi(arg1) * 1000);
        return 0;
    }
    if (mode == "sleep") {
        Sleep(std::atoi(arg1) * 1000);
        return 0;
    }
    if (mode == "echo-input") {
        writeAll(STD_OUTPUT_HANDLE, readInput(true));
        return 0;
    }
    if (mode == "run-on") return runOn(arg1);
    writeAll(STD_ERROR_HANDLE, "unknown mode\r\n");
    return 2;
}
