#pragma once
// Owners of system handles: each releases its handle when destroyed or reset.
#include <windows.h>

#include <utility>

namespace platform::win32 {

// The one owner of a kernel handle: closes it when destroyed or reset. Both
// null and INVALID_HANDLE_VALUE count as empty, since the calls that make
// handles answer a failure with one or the other, so a failed call's result
// can be given to an owner as it is. Pseudo handles such as
// GetCurrentProcess() are never given to one.
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // For calls that hand back a new handle through a pointer.
    HANDLE* receive() {
        reset();
        return &handle_;
    }
    HANDLE release() { return std::exchange(handle_, nullptr); }
    void reset(HANDLE handle = nullptr) {
        if (*this) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// The owner of a handle of another kind, released by its own function:
// OwnedObject<HACCEL, DestroyAcceleratorTable>, OwnedObject<HRGN, DeleteObject>.
template <class Handle, auto destroy> class OwnedObject {
public:
    OwnedObject() = default;
    explicit OwnedObject(Handle handle) : handle_(handle) {}
    ~OwnedObject() { reset(); }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;

    Handle get() const { return handle_; }
    // For a call that takes the handle over, once it has succeeded.
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_) destroy(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

} // namespace platform::win32
