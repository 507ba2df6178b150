// Named locks on the real mutexes: one holder at a time across threads, as
// across programs; a window message wakes a wait; a holder that ended without
// releasing leaves the lock to be taken.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/Win32Os.h"

namespace {

TEST(SharedLock, OneHolderAtATimeAMessageWakesTheWaitAnAbandonedLockIsTaken) {
    platform::win32::Win32SharedLocks locks;
    const std::string name = "Velumo.test." + std::to_string(GetCurrentProcessId());
    HANDLE held = CreateEventA(nullptr, FALSE, FALSE, nullptr), release = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    // The other holder keeps its lock until told to go, then leaks it or releases it.
    const auto otherHolder = [&](bool abandons) {
        auto theirs = locks.open(name);
        EXPECT_TRUE(theirs->acquire(0));
        SetEvent(held);
        WaitForSingleObject(release, INFINITE);
        if (abandons) theirs.release(); // as by a program that was killed
    };

    std::thread other(otherHolder, false);
    WaitForSingleObject(held, INFINITE);
    auto mine = locks.open(name);
    EXPECT_FALSE(mine->acquire(50));
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(mine->acquire(5000)) << "a waiting message ends the wait";
    EXPECT_LT(GetTickCount() - start, 1000u);
    MSG message;
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_REMOVE);
    SetEvent(release);
    EXPECT_TRUE(mine->acquire(5000));
    other.join();
    mine.reset();

    std::thread ending(otherHolder, true);
    WaitForSingleObject(held, INFINITE);
    SetEvent(release);
    ending.join();
    EXPECT_TRUE(locks.open(name)->acquire(0)) << "abandoned";
    CloseHandle(held);
    CloseHandle(release);
}

} // namespace
