#pragma once
// The Win32 implementation of the platform boundary. This header is free of
// <windows.h> so that the program entry can create it.
#include <memory>

#include "platform/Os.h"
#include "platform/Toolkit.h"

namespace platform::win32 {

class Win32Platform {
public:
    Win32Platform();
    ~Win32Platform();
    Toolkit& toolkit();
    Os& os();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform::win32
