#pragma once
// The pipes of a console child: its ends inheritable, this process's not.
#include <windows.h>

#include "platform/win32/OwnedHandle.h"

namespace platform::win32 {

// Replaces a handle by an inheritable duplicate; the source is closed whether
// or not the duplicate is made.
bool makeInheritable(OwnedHandle& handle);

// The child's input: an anonymous pipe whose read end becomes the child's.
bool createInputPipe(OwnedHandle& readEnd, OwnedHandle& writeEnd);

// An output pipe: a pipe of one instance whose read end, this process's, is
// opened for overlapped reads, and whose write end, the child's, is opened as
// an anonymous pipe's is (synchronous, write access and the right to read its
// attributes), then made inheritable. The name is this process's own and used
// once.
bool createOutputPipe(OwnedHandle& readEnd, OwnedHandle& writeEnd, DWORD size);

} // namespace platform::win32
