#include "thread.h"

#include <climits>
#include <process.h>

namespace thread {

namespace {

// Named objects are meant to be shared, also with child processes.
SECURITY_ATTRIBUTES* inheritableIfNamed(const char* name, SECURITY_ATTRIBUTES* attributes) {
    if (!name)
        return nullptr;
    attributes->nLength = sizeof *attributes;
    attributes->lpSecurityDescriptor = nullptr;
    attributes->bInheritHandle = TRUE;
    return attributes;
}

bool isWaitResult(DWORD result) {
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED || result == WAIT_TIMEOUT;
}

}  // namespace

// ---- Thread

Thread::Thread(Runnable* runnable) : runnable_(runnable) {
    uintptr_t handle = _beginthreadex(nullptr, 0, &Thread::procedure, this, CREATE_SUSPENDED, nullptr);
    if (handle == 0)
        throw Error("Can't create thread.");
    handle_ = reinterpret_cast<HANDLE>(handle);
}

Thread::~Thread() {
    // A thread that was never started would stay suspended for the rest of the
    // process, holding its stack. Let it run to its end without calling run,
    // which could reach an object that is half destroyed.
    if (!started_) {
        abandoned_ = true;
        if (ResumeThread(handle_) != static_cast<DWORD>(-1))
            WaitForSingleObject(handle_, INFINITE);
    }
    CloseHandle(handle_);
}

unsigned __stdcall Thread::procedure(void* self) {
    Thread* object = static_cast<Thread*>(self);
    if (!object->abandoned_) {
        // Nobody above this frame could handle anything: a failed run just ends.
        try {
            object->run();
        } catch (...) {
        }
    }
    _endthreadex(0);
    return 0;
}

void Thread::run() {
    if (runnable_)
        runnable_->run();
}

void Thread::setPriority(int value) {
    static const int priorities[] = {
        THREAD_PRIORITY_LOWEST,       THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
        THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,      THREAD_PRIORITY_TIME_CRITICAL,
    };
    if (value < 0 || value > 5)
        throw Error("Illegal priority value.");
    if (!SetThreadPriority(handle_, priorities[value]))
        throw Error("Can't set priority.");
    priority_ = value;
}

DWORD Thread::start() {
    if (started_)
        throw Error("Thread can be started only once.");
    started_ = true;
    DWORD previous = ResumeThread(handle_);
    if (previous == static_cast<DWORD>(-1))
        throw Error("Thread can not be started.");
    return previous;
}

DWORD Thread::wait() {
    DWORD result = WaitForSingleObject(handle_, INFINITE);
    if (!isWaitResult(result))
        throw Error("Waiting for thread termination failed.");
    return result;
}

DWORD Thread::wait(DWORD milliseconds) { return WaitForSingleObject(handle_, milliseconds); }

// ---- Semaphore

Semaphore::Semaphore(LONG initialCount, const char* name) {
    SECURITY_ATTRIBUTES attributes;
    SetLastError(ERROR_SUCCESS);  // "already exists" must come from this call
    handle_ = CreateSemaphoreA(inheritableIfNamed(name, &attributes), initialCount, INT_MAX, name);
    if (!handle_)
        throw Error("Can't create semaphore.");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle_);
        throw Error("Semaphore already exists.");
    }
}

Semaphore::Semaphore(OpenExisting, const char* name) {
    handle_ = OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, TRUE, name);
    if (!handle_)
        throw Error("Can't open existing semaphore.");
}

Semaphore::~Semaphore() { CloseHandle(handle_); }

DWORD Semaphore::lock() {
    DWORD result = WaitForSingleObject(handle_, INFINITE);
    if (!isWaitResult(result))
        throw Error("Lock of the semaphore failed.");
    return result;
}

bool Semaphore::lock(DWORD milliseconds) {
    DWORD result = WaitForSingleObject(handle_, milliseconds);
    if (!isWaitResult(result))
        throw Error("Lock of the semaphore failed.");
    return result != WAIT_TIMEOUT;
}

void Semaphore::unlock(LONG count) {
    if (!ReleaseSemaphore(handle_, count, nullptr))
        throw Error("Can't unlock semaphore.");
}

// ---- CritSect

CritSect::CritSect() {
    // Windows NT makes a critical section's wait event only when two threads
    // first meet in it, and before Vista EnterCriticalSection raises a system
    // exception when that allocation fails, which C++ code cannot catch. With the
    // top bit of the spin count set, the NT family makes the event here and
    // reports a failure as a result. Windows 95 lacks the call; the 9x family
    // never raises.
    using InitializeWithSpinCount = BOOL(WINAPI*)(LPCRITICAL_SECTION, DWORD);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "InitializeCriticalSectionAndSpinCount");
    bool ntFamily = (GetVersion() & 0x80000000u) == 0;
    if (found && ntFamily) {
        auto initialize = reinterpret_cast<InitializeWithSpinCount>(reinterpret_cast<void (*)()>(found));
        if (!initialize(&section_, 0x80000000u))
            throw Error("Can't create critical section.");
    } else {
        InitializeCriticalSection(&section_);
    }
}

CritSect::~CritSect() { DeleteCriticalSection(&section_); }

void CritSect::lock() { EnterCriticalSection(&section_); }

void CritSect::unlock() { LeaveCriticalSection(&section_); }

// ---- SyncEvent

SyncEvent::SyncEvent(bool initiallySignalled, bool manualReset, const char* name) {
    SECURITY_ATTRIBUTES attributes;
    SetLastError(ERROR_SUCCESS);  // "already exists" must come from this call
    handle_ = CreateEventA(inheritableIfNamed(name, &attributes), manualReset, initiallySignalled, name);
    if (!handle_)
        throw Error("Can't create event.");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle_);
        throw Error("Event already exists.");
    }
}

SyncEvent::SyncEvent(OpenExisting, const char* name) {
    handle_ = OpenEventA(EVENT_ALL_ACCESS, TRUE, name);
    if (!handle_)
        throw Error("Can't open existing event.");
}

SyncEvent::~SyncEvent() { CloseHandle(handle_); }

void SyncEvent::set() {
    if (!SetEvent(handle_))
        throw Error("Can't set event.");
}

void SyncEvent::reset() {
    if (!ResetEvent(handle_))
        throw Error("Can't reset event.");
}

DWORD SyncEvent::wait() {
    DWORD result = WaitForSingleObject(handle_, INFINITE);
    if (!isWaitResult(result))
        throw Error("Wait failed.");
    return result;
}

bool SyncEvent::wait(DWORD milliseconds) {
    DWORD result = WaitForSingleObject(handle_, milliseconds);
    if (!isWaitResult(result))
        throw Error("Wait failed.");
    return result != WAIT_TIMEOUT;
}

bool Sleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
    return true;
}

}  // namespace thread
