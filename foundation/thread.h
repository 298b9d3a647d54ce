#pragma once
// Worker threads and the Win32 synchronisation objects, each behind a thin
// wrapper. Every failing system call raises the Error class nested in the
// wrapper that made it; nothing here returns an error code. The wrappers add no
// locking of their own. Windows only.

#include <windows.h>

#include <type_traits>

namespace thread {

// The root of the module's errors: the raising class's name ("class Thread") and
// the message, both static texts held as pointers. Thrown by value.
class GenericError {
public:
    GenericError(const char* className, const char* message) : className_(className), message_(message) {}

    const char* className() const { return className_; }
    const char* message() const { return message_; }

private:
    const char* className_;
    const char* message_;
};

// What a Thread without an overridden run delegates to.
class Runnable {
public:
    virtual ~Runnable() = default;
    virtual void run() = 0;
};

// An operating-system thread, born suspended: it runs only after start. Workers
// either derive and override run, or pass a Runnable. Whatever run throws is
// dropped by the thread; a caller that needs to know how a run ended records it
// itself. The object may outlive its thread and the thread may outlive the
// object: the destructor closes the handle and neither waits for nor stops a
// started thread, so run must not touch the object once it may be gone.
class Thread {
public:
    class Error : public GenericError {
    public:
        explicit Error(const char* message) : GenericError("class Thread", message) {}
    };

    // Priorities 0 to 5: lowest, below normal, normal, above normal, highest,
    // time critical.
    enum { DefaultPriority = 2 };

    // runnable may be null; it must outlive the run. Throws "Can't create thread.".
    explicit Thread(Runnable* runnable = nullptr);
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // The work of the thread. By default runnable->run(), or nothing.
    virtual void run();

    // Throws "Illegal priority value." outside 0 to 5 (priority() unchanged) and
    // "Can't set priority." when the system refuses.
    void setPriority(int value);
    int priority() const { return priority_; }

    // Once per object: resumes the thread and returns its previous suspend count.
    // Throws "Thread can be started only once." on a second call (the running
    // thread is left alone) and "Thread can not be started." when resuming fails.
    DWORD start();
    bool started() const { return started_; }

    // Waits for the thread's end: WAIT_OBJECT_0 (or WAIT_ABANDONED, WAIT_TIMEOUT).
    // Throws "Waiting for thread termination failed." otherwise.
    DWORD wait();
    // The raw result of WaitForSingleObject with a time-out; never throws.
    DWORD wait(DWORD milliseconds);

    HANDLE handle() const { return handle_; }

private:
    static unsigned __stdcall procedure(void* self);

    Runnable* runnable_;
    bool started_ = false;
    bool abandoned_ = false;  // destroyed before start: the procedure must not run
    int priority_ = DefaultPriority;
    HANDLE handle_ = nullptr;
};

// Open an existing named object instead of creating one.
struct OpenExisting {};
constexpr OpenExisting openExisting{};

// A counting semaphore (maximum count INT_MAX).
class Semaphore {
public:
    class Error : public GenericError {
    public:
        explicit Error(const char* message) : GenericError("class Semaphore", message) {}
    };

    // Creates a semaphore; a named one must be new. Throws "Can't create
    // semaphore." or, for a name already in use, "Semaphore already exists."
    // (no handle is kept then). A named semaphore's handle is inheritable.
    explicit Semaphore(LONG initialCount, const char* name = nullptr);
    // Opens a named semaphore (inheritable); throws "Can't open existing semaphore.".
    Semaphore(OpenExisting, const char* name);
    virtual ~Semaphore();
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    // Waits without end: WAIT_OBJECT_0 or WAIT_ABANDONED. Throws "Lock of the
    // semaphore failed." for anything else.
    DWORD lock();
    // true when the count was taken within the time, false after the time-out.
    bool lock(DWORD milliseconds);
    // Throws "Can't unlock semaphore." (for example past the maximum count).
    void unlock(LONG count = 1);

    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

// A critical section held in place; re-entrant for its owning thread.
class CritSect {
public:
    class Error : public GenericError {
    public:
        explicit Error(const char* message) : GenericError("class CritSect", message) {}
    };

    // Throws "Can't create critical section." when the system has no room for it.
    CritSect();
    virtual ~CritSect();
    CritSect(const CritSect&) = delete;
    CritSect& operator=(const CritSect&) = delete;

    // Never fails: the section's wait event is made by the constructor (see
    // thread.cpp), so "Can't lock critical section." is not raised.
    void lock();
    void unlock();

private:
    CRITICAL_SECTION section_;
};

// An event object.
class SyncEvent {
public:
    class Error : public GenericError {
    public:
        explicit Error(const char* message) : GenericError("class SyncEvent", message) {}
    };

    // Creates an event; a named one must be new. Throws "Can't create event." or,
    // for a name already in use, "Event already exists." (no handle is kept then).
    // A named event's handle is inheritable.
    SyncEvent(bool initiallySignalled, bool manualReset, const char* name = nullptr);
    // Opens a named event (inheritable); throws "Can't open existing event.".
    SyncEvent(OpenExisting, const char* name);
    virtual ~SyncEvent();
    SyncEvent(const SyncEvent&) = delete;
    SyncEvent& operator=(const SyncEvent&) = delete;

    void set();    // throws "Can't set event."
    void reset();  // throws "Can't reset event."
    // Waits without end: WAIT_OBJECT_0 or WAIT_ABANDONED. Throws "Wait failed."
    // for anything else.
    DWORD wait();
    // true when signalled within the time, false after the time-out.
    bool wait(DWORD milliseconds);

    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

// The system's Sleep; always true.
bool Sleep(DWORD milliseconds);

static_assert(!std::is_copy_constructible_v<Thread> && !std::is_copy_constructible_v<Semaphore> &&
                  !std::is_copy_constructible_v<CritSect> && !std::is_copy_constructible_v<SyncEvent>,
              "the wrappers own their system objects");

}  // namespace thread
