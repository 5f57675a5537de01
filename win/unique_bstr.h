// Win32 only. Owner of one BSTR, freed with SysFreeString. Copying deleted, moving allowed.
#pragma once

#include <oleauto.h>

#include <utility>

class UniqueBstr {
public:
    UniqueBstr() = default;
    // Takes over a BSTR the caller owns.
    explicit UniqueBstr(BSTR value) : value_(value) {}
    // A new BSTR holding the code units [chars, chars + length); empty on allocation
    // failure.
    static UniqueBstr FromChars(const wchar_t* chars, UINT length) {
        return UniqueBstr(::SysAllocStringLen(chars, length));
    }
    ~UniqueBstr() { reset(); }

    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    UniqueBstr(UniqueBstr&& other) noexcept : value_(other.release()) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    BSTR get() const { return value_; }
    explicit operator bool() const { return value_ != nullptr; }
    // Code units without the terminator; a null BSTR counts as empty.
    UINT length() const { return ::SysStringLen(value_); }

    void reset(BSTR value = nullptr) {
        BSTR old = std::exchange(value_, value);
        if (old)
            ::SysFreeString(old);
    }
    BSTR release() { return std::exchange(value_, nullptr); }
    BSTR* put() {
        reset();
        return &value_;
    }

private:
    BSTR value_ = nullptr;
};
