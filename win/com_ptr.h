// Win32 only. Owner of one COM interface reference. Copying takes one more reference
// (AddRef), moving hands the reference over, and whatever is held is released when the
// owner is reset, reassigned or destroyed.
//
//   ComPtr<IDispatch> engine;
//   CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
//                    reinterpret_cast<void**>(engine.put()));
#pragma once

#include <unknwn.h>

#include <utility>

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already owns (no AddRef).
    static ComPtr Adopt(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Takes a reference of its own (AddRef) to an interface the caller only borrows.
    static ComPtr Share(T* p) {
        if (p)
            p->AddRef();
        return Adopt(p);
    }
    ~ComPtr() { reset(); }

    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_)
            p_->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        if (this != &other)
            *this = ComPtr(other);
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(p_, std::exchange(other.p_, nullptr));
            if (old)
                old->Release();
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    void reset() {
        if (T* old = std::exchange(p_, nullptr))
            old->Release();
    }
    // Gives up ownership: the caller now owns the reference.
    T* release() { return std::exchange(p_, nullptr); }
    // Out-parameter slot: releases what was held first.
    T** put() {
        reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};
