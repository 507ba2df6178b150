// Named locks on the real mutexes: one holder at a time across threads (as
// across programs), a window message waking a wait, and a lock whose holder
// ended without releasing it.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/Win32Os.h"

namespace {

using platform::SharedLock;
using platform::win32::Win32SharedLocks;

TEST(SharedLock, OneHolderAtATimeAMessageWakesTheWaitAnAbandonedLockIsTaken) {
    Win32SharedLocks locks;
    const std::string name = "Velumo.test." + std::to_string(GetCurrentProcessId());
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr), release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        std::unique_ptr<SharedLock> theirs = locks.open(name);
        EXPECT_TRUE(theirs && theirs->acquire(0));
        SetEvent(held);
        WaitForSingleObject(release, INFINITE);
    });
    WaitForSingleObject(held, INFINITE);

    std::unique_ptr<SharedLock> mine = locks.open(name);
    ASSERT_TRUE(mine);
    EXPECT_FALSE(mine->acquire(50)) << "held by the other thread";
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(mine->acquire(5000)) << "a waiting message ends the wait";
    EXPECT_LT(GetTickCount() - start, 1000u);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }

    SetEvent(release);
    EXPECT_TRUE(mine->acquire(5000)) << "released when the other's lock was destroyed";
    other.join();
    mine.reset();

    // A holder that ends without releasing: its lock is abandoned, and taken.
    ResetEvent(held);
    std::thread ending([&] {
        SharedLock* leaked = locks.open(name).release(); // never released, as by a program that was killed
        EXPECT_TRUE(leaked->acquire(0));
        SetEvent(held);
    });
    WaitForSingleObject(held, INFINITE);
    ending.join();
    EXPECT_TRUE(locks.open(name)->acquire(5000));
    CloseHandle(held);
    CloseHandle(release);
}

} // namespace
