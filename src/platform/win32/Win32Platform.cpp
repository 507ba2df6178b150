#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32Dde.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Os.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Toolkit.h"

namespace platform::win32 {

struct Win32Platform::Impl {
    Win32Toolkit toolkit;
    Win32Profile profile;
    Win32FileSystem files;
    Win32ProgramInfo program;
    std::unique_ptr<ProcessService> processes = createWin32ProcessService();
    Win32Shell shell;
    Win32Desktop desktop;
    Win32Dde dde;
    Win32SharedLocks locks;
    Win32CodePage codePage;
    Os os{profile, files, program, *processes, shell, desktop, dde, locks, codePage};
};

Win32Platform::Win32Platform() : impl_(std::make_unique<Impl>()) {}

Win32Platform::~Win32Platform() = default;

Toolkit& Win32Platform::toolkit() { return impl_->toolkit; }

Os& Win32Platform::os() { return impl_->os; }

} // namespace platform::win32
