#pragma once
// Scope owners for Win32 resources: each holds one resource, releases it when it
// goes, can be moved but never copied. Windows only.

#include <windows.h>
#include <objbase.h>

#include <type_traits>
#include <utility>

template <typename Traits>
class Owner {
public:
    using Type = typename Traits::Type;

    Owner() : value_(Traits::empty()) {}
    explicit Owner(Type value) : value_(value) {}
    ~Owner() { reset(); }
    Owner(Owner&& other) noexcept : value_(other.release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    Type get() const { return value_; }
    bool valid() const { return Traits::valid(value_); }
    explicit operator bool() const { return valid(); }

    // For calls that fill an out parameter: releases what is held first.
    Type* receive() {
        reset();
        return &value_;
    }
    // Gives the resource up without releasing it.
    Type release() {
        Type value = value_;
        value_ = Traits::empty();
        return value;
    }
    void reset(Type value = Traits::empty()) {
        if (Traits::valid(value_))
            Traits::close(value_);
        value_ = value;
    }

private:
    Type value_;
};

// Kernel handles: both NULL and INVALID_HANDLE_VALUE mean "none".
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type empty() { return nullptr; }
    static bool valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Type h) { CloseHandle(h); }
};
using UniqueHandle = Owner<KernelHandleTraits>;

struct RegKeyTraits {
    using Type = HKEY;
    static Type empty() { return nullptr; }
    static bool valid(Type k) { return k != nullptr; }
    static void close(Type k) { RegCloseKey(k); }
};
using RegKey = Owner<RegKeyTraits>;

struct FindHandleTraits {
    using Type = HANDLE;
    static Type empty() { return INVALID_HANDLE_VALUE; }
    static bool valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Type h) { FindClose(h); }
};
using FindHandle = Owner<FindHandleTraits>;

struct ModuleTraits {
    using Type = HMODULE;
    static Type empty() { return nullptr; }
    static bool valid(Type m) { return m != nullptr; }
    static void close(Type m) { FreeLibrary(m); }
};
using Module = Owner<ModuleTraits>;

// A view of a file mapping.
struct MappedViewTraits {
    using Type = void*;
    static Type empty() { return nullptr; }
    static bool valid(Type v) { return v != nullptr; }
    static void close(Type v) { UnmapViewOfFile(v); }
};
using MappedView = Owner<MappedViewTraits>;

static_assert(!std::is_copy_constructible_v<UniqueHandle> && !std::is_copy_constructible_v<RegKey>,
              "owners are never copied");

// One COM interface pointer; Release on the way out.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For CoCreateInstance and QueryInterface: releases what is held first.
    void** receive() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }

private:
    Interface* p_ = nullptr;
};

// Memory the shell hands out with its task allocator (item id lists).
struct CoTaskMemTraits {
    using Type = void*;
    static Type empty() { return nullptr; }
    static bool valid(Type p) { return p != nullptr; }
    static void close(Type p) { CoTaskMemFree(p); }
};
using CoTaskMem = Owner<CoTaskMemTraits>;
