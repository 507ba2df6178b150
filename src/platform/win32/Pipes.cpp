#include "platform/win32/Pipes.h"

#include <string>

namespace platform::win32 {
namespace {
constexpr DWORD inputPipeSize = 65536;
} // namespace

bool makeInheritable(OwnedHandle& handle) {
    const HANDLE source = handle.release();
    return DuplicateHandle(GetCurrentProcess(), source, GetCurrentProcess(), handle.receive(), 0, TRUE,
                           DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS) != FALSE;
}

bool createInputPipe(OwnedHandle& readEnd, OwnedHandle& writeEnd) {
    return CreatePipe(readEnd.receive(), writeEnd.receive(), nullptr, inputPipeSize) && makeInheritable(readEnd);
}

bool createOutputPipe(OwnedHandle& readEnd, OwnedHandle& writeEnd, DWORD size) {
    static LONG serial = 0;
    const std::string name = "\\\\.\\pipe\\velumo-capture-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(InterlockedIncrement(&serial));
    readEnd.reset(CreateNamedPipeA(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, size, size, 0, nullptr));
    if (!readEnd) return false;
    writeEnd.reset(CreateFileA(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!writeEnd) return false;
    return makeInheritable(writeEnd);
}

} // namespace platform::win32
