#include "thread.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// Every test's named objects carry the process id, so that parallel runs differ.
std::string uniqueName(const char* what) { return std::string("zrtest_") + what + "_" + std::to_string(GetCurrentProcessId()); }

// Waits at most this long for something that happens at once: a safety net, so
// that a fault ends the test instead of hanging it.
constexpr DWORD kDeadline = 10000;

// A worker that waits until it is told to go.
class GatedThread : public thread::Thread {
public:
    thread::SyncEvent go{false, true};
    bool ran = false;

    void run() override {
        go.wait();
        ran = true;
    }
};

template <typename Error, typename Action>
void expectError(const char* className, const char* message, Action action) {
    try {
        action();
        ADD_FAILURE() << "no error; expected " << message;
    } catch (const Error& e) {
        EXPECT_STREQ(className, e.className());
        EXPECT_STREQ(message, e.message());
    }
}

}  // namespace

TEST(Thread, RunsOnlyAfterStart) {
    GatedThread worker;
    worker.go.set();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), worker.wait(0)) << "born suspended";
    EXPECT_FALSE(worker.ran);
    EXPECT_EQ(1u, worker.start()) << "the previous suspend count";
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), worker.wait());
    EXPECT_TRUE(worker.ran);
}

TEST(Thread, StartTwiceRaisesAndLeavesTheThreadRunning) {
    GatedThread worker;
    worker.start();
    expectError<thread::Thread::Error>("class Thread", "Thread can be started only once.", [&] { worker.start(); });
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), worker.wait(0)) << "still waiting to go";
    worker.go.set();
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), worker.wait(kDeadline));
    EXPECT_TRUE(worker.ran);
}

TEST(Thread, PrioritiesMapToTheSystemOnes) {
    struct Row {
        int value;
        int system;
    } rows[] = {
        {0, THREAD_PRIORITY_LOWEST},       {1, THREAD_PRIORITY_BELOW_NORMAL}, {2, THREAD_PRIORITY_NORMAL},
        {3, THREAD_PRIORITY_ABOVE_NORMAL}, {4, THREAD_PRIORITY_HIGHEST},      {5, THREAD_PRIORITY_TIME_CRITICAL},
    };
    GatedThread worker;
    EXPECT_EQ(2, worker.priority()) << "normal at first";
    for (const Row& row : rows) {
        worker.setPriority(row.value);
        EXPECT_EQ(row.value, worker.priority());
        EXPECT_EQ(row.system, GetThreadPriority(worker.handle())) << row.value;
    }
}

TEST(Thread, IllegalPriorityKeepsTheStoredOne) {
    GatedThread worker;
    worker.setPriority(4);
    for (int value : {6, -1}) {
        expectError<thread::Thread::Error>("class Thread", "Illegal priority value.",
                                           [&] { worker.setPriority(value); });
        EXPECT_EQ(4, worker.priority()) << value;
        EXPECT_EQ(THREAD_PRIORITY_HIGHEST, GetThreadPriority(worker.handle())) << value;
    }
}

TEST(Thread, ThrowingRunEndsQuietly) {
    class Throwing : public thread::Thread {
        void run() override { throw std::runtime_error("dropped"); }
    } worker;
    worker.start();
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), worker.wait());
    DWORD exitCode = 99;
    EXPECT_TRUE(GetExitCodeThread(worker.handle(), &exitCode));
    EXPECT_EQ(0u, exitCode) << "the thread ended normally";
}

TEST(Thread, DefaultRunDelegatesToTheRunnable) {
    struct Counting : thread::Runnable {
        int runs = 0;
        void run() override { ++runs; }
    } runnable;
    thread::Thread worker(&runnable);
    worker.start();
    worker.wait();
    EXPECT_EQ(1, runnable.runs);

    thread::Thread idle;  // no runnable: nothing to do
    idle.start();
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), idle.wait());
}

TEST(Thread, DestroyingTheObjectDoesNotStopTheThread) {
    struct Gated : thread::Runnable {
        thread::SyncEvent entered{false, true};
        thread::SyncEvent go{false, true};
        thread::SyncEvent finished{false, true};
        void run() override {
            entered.set();
            go.wait();
            finished.set();
        }
    } runnable;
    HANDLE handle = nullptr;
    {
        thread::Thread worker(&runnable);
        worker.start();
        ASSERT_TRUE(runnable.entered.wait(kDeadline));
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), worker.handle(), GetCurrentProcess(), &handle, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS));
    }
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(handle, 0)) << "still running";
    runnable.go.set();
    EXPECT_TRUE(runnable.finished.wait(kDeadline));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(handle, kDeadline));
    CloseHandle(handle);
}

TEST(Thread, NeverStartedThreadEndsWithoutRunning) {
    struct Flag : thread::Runnable {
        bool ran = false;
        void run() override { ran = true; }
    } runnable;
    HANDLE handle = nullptr;
    {
        thread::Thread worker(&runnable);
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), worker.handle(), GetCurrentProcess(), &handle, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS));
    }
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(handle, 0)) << "not left suspended";
    EXPECT_FALSE(runnable.ran);
    CloseHandle(handle);
}

TEST(Semaphore, LockWithTimeOutAndUnlock) {
    thread::Semaphore semaphore(0);
    EXPECT_FALSE(semaphore.lock(0)) << "count 0";
    semaphore.unlock(2);
    EXPECT_TRUE(semaphore.lock(0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), semaphore.lock());
    EXPECT_FALSE(semaphore.lock(0)) << "both taken";
}

TEST(Semaphore, UnlockPastTheMaximumRaises) {
    thread::Semaphore semaphore(INT_MAX);
    expectError<thread::Semaphore::Error>("class Semaphore", "Can't unlock semaphore.", [&] { semaphore.unlock(); });
}

TEST(Semaphore, NamedOneIsCreatedOnceAndOpenedByName) {
    std::string name = uniqueName("semaphore");
    {
        thread::Semaphore first(0, name.c_str());
        expectError<thread::Semaphore::Error>("class Semaphore", "Semaphore already exists.",
                                              [&] { thread::Semaphore again(5, name.c_str()); });
        thread::Semaphore opened(thread::openExisting, name.c_str());
        opened.unlock();
        EXPECT_TRUE(first.lock(0)) << "one object behind both";
    }
    // The refused one kept no handle: with the others gone, the name is free.
    expectError<thread::Semaphore::Error>("class Semaphore", "Can't open existing semaphore.",
                                          [&] { thread::Semaphore gone(thread::openExisting, name.c_str()); });
}

TEST(SyncEvent, ManualAndAutomaticReset) {
    thread::SyncEvent manual(false, true);
    EXPECT_FALSE(manual.wait(0));
    manual.set();
    EXPECT_TRUE(manual.wait(0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), manual.wait()) << "stays set";
    manual.reset();
    EXPECT_FALSE(manual.wait(0));

    thread::SyncEvent automatic(true, false);
    EXPECT_TRUE(automatic.wait(0)) << "initially signalled";
    EXPECT_FALSE(automatic.wait(0)) << "reset by the wait";
}

TEST(SyncEvent, NamedOneIsCreatedOnceAndOpenedByName) {
    std::string name = uniqueName("event");
    {
        thread::SyncEvent first(false, true, name.c_str());
        expectError<thread::SyncEvent::Error>("class SyncEvent", "Event already exists.",
                                              [&] { thread::SyncEvent again(true, false, name.c_str()); });
        EXPECT_FALSE(first.wait(0)) << "the refused create did not touch the event";
        thread::SyncEvent opened(thread::openExisting, name.c_str());
        opened.set();
        EXPECT_TRUE(first.wait(0)) << "one object behind both";
    }
    expectError<thread::SyncEvent::Error>("class SyncEvent", "Can't open existing event.",
                                          [&] { thread::SyncEvent gone(thread::openExisting, name.c_str()); });
}

TEST(CritSect, KeepsTwoThreadsApartAndIsReentrant) {
    // Both threads start together and yield while inside, so without the lock
    // they would meet there.
    struct Counter : thread::Runnable {
        thread::CritSect section;
        thread::SyncEvent go{false, true};
        LONG inside = 0;
        LONG overlaps = 0;
        long value = 0;
        void run() override {
            go.wait();
            for (int i = 0; i < 2000; ++i) {
                section.lock();
                section.lock();  // the owner may enter again
                if (InterlockedIncrement(&inside) != 1)
                    InterlockedIncrement(&overlaps);
                long read = value;
                thread::Sleep(0);
                value = read + 1;
                InterlockedDecrement(&inside);
                section.unlock();
                section.unlock();
            }
        }
    } counter;
    thread::Thread first(&counter), second(&counter);
    first.start();
    second.start();
    counter.go.set();
    first.wait();
    second.wait();
    EXPECT_EQ(0, counter.overlaps);
    EXPECT_EQ(4000, counter.value);
}

TEST(Sleep, AlwaysTrue) { EXPECT_TRUE(thread::Sleep(0)); }
