// Win32 only. Owner of one VARIANT, cleared with VariantClear (which releases a string,
// interface or array it holds). Copying deleted (use Duplicate), moving allowed.
#pragma once

#include "win/com_ptr.h"
#include "win/unique_bstr.h"

#include <oaidl.h>
#include <oleauto.h>

#include <utility>

class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&value_); }
    ~UniqueVariant() { ::VariantClear(&value_); }

    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) {
        ::VariantInit(&other.value_);
    }
    UniqueVariant& operator=(UniqueVariant&& other) noexcept {
        if (this != &other) {
            ::VariantClear(&value_);
            value_ = other.value_;
            ::VariantInit(&other.value_);
        }
        return *this;
    }

    static UniqueVariant FromBool(bool b) {
        UniqueVariant v;
        v.value_.vt = VT_BOOL;
        v.value_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    static UniqueVariant FromLong(LONG n) {
        UniqueVariant v;
        v.value_.vt = VT_I4;
        v.value_.lVal = n;
        return v;
    }
    // Takes over the string; a null BSTR gives VT_EMPTY.
    static UniqueVariant FromBstr(UniqueBstr s) {
        UniqueVariant v;
        if (s) {
            v.value_.vt = VT_BSTR;
            v.value_.bstrVal = s.release();
        }
        return v;
    }

    const VARIANT& get() const { return value_; }
    VARTYPE type() const { return value_.vt; }
    bool empty() const { return value_.vt == VT_EMPTY; }

    void reset() { ::VariantClear(&value_); }
    // Out-parameter slot: clears what was held first.
    VARIANT* put() {
        ::VariantClear(&value_);
        return &value_;
    }

    // A deep copy (VariantCopy); VT_EMPTY on failure.
    UniqueVariant Duplicate() const {
        UniqueVariant copy;
        if (FAILED(::VariantCopy(copy.put(), source())))
            copy.reset();
        return copy;
    }

    // The interface held by a VT_DISPATCH value, with a reference of its own; empty for any
    // other kind of value.
    ComPtr<IDispatch> Dispatch() const {
        if (value_.vt != VT_DISPATCH)
            return ComPtr<IDispatch>();
        return ComPtr<IDispatch>::Share(value_.pdispVal);
    }

    // The value converted to a string (VariantChangeType); a null BSTR when it cannot be.
    // VT_EMPTY converts to the empty string.
    UniqueBstr ToBstr() const {
        if (value_.vt == VT_BSTR)
            return UniqueBstr::FromChars(value_.bstrVal, ::SysStringLen(value_.bstrVal));
        UniqueVariant s;
        if (FAILED(::VariantChangeType(s.put(), source(), 0, VT_BSTR)) || s.value_.vt != VT_BSTR)
            return UniqueBstr();
        return UniqueBstr(std::exchange(s.value_.bstrVal, nullptr));
    }

    // The value as a number, truncated toward zero and limited to the range of LONG;
    // fallback when it is not a number.
    LONG ToLongTruncated(LONG fallback = 0) const {
        UniqueVariant d;
        if (FAILED(::VariantChangeType(d.put(), source(), 0, VT_R8)) || d.value_.vt != VT_R8)
            return fallback;
        double x = d.value_.dblVal;
        if (!(x == x))
            return fallback;
        if (x >= 2147483647.0)
            return 2147483647;
        if (x <= -2147483648.0)
            return -2147483647 - 1;
        return static_cast<LONG>(x);
    }

    // The value as a truth value; fallback when it cannot be converted.
    bool ToBool(bool fallback = false) const {
        UniqueVariant b;
        if (FAILED(::VariantChangeType(b.put(), source(), 0, VT_BOOL)) || b.value_.vt != VT_BOOL)
            return fallback;
        return b.value_.boolVal != VARIANT_FALSE;
    }

private:
    // The SDK declares the source of VariantCopy and VariantChangeType without const; they
    // only read it.
    VARIANT* source() const { return const_cast<VARIANT*>(&value_); }

    VARIANT value_;
};
