// Win32 only. Driving automation objects by name (IDispatch::GetIDsOfNames, then Invoke),
// without type libraries or headers of the object. Every routine answers with an HRESULT and
// leaves its out-value empty when it fails; none of them throws.
//
//   ComPtr<IDispatch> engine;
//   if (SUCCEEDED(CreateObject(L"Some.ProgId", &engine))) {
//       PutProperty(engine.get(), L"Name", UniqueVariant::FromLong(1).get());
//       UniqueVariant result;
//       CallMethod(engine.get(), L"Run", {&argument.get()}, &result);
//   }
#pragma once

#include "win/com_ptr.h"
#include "win/unique_variant.h"

#include <objbase.h>
#include <oaidl.h>

#include <cstddef>
#include <initializer_list>

// Arguments of one call, left to right as the object's documentation lists them.
using DispatchArgs = std::initializer_list<const VARIANT*>;

// An in-process or local object of the class registered under progId, asked for IDispatch.
inline HRESULT CreateObject(const wchar_t* progId, ComPtr<IDispatch>* object) {
    object->reset();
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr))
        return hr;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IDispatch, reinterpret_cast<void**>(object->put()));
    if (FAILED(hr))
        object->reset();
    return hr;
}

// The member's DISPID, then Invoke with the arguments; result may be null when the caller
// does not want it.
inline HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, DispatchArgs args,
                            UniqueVariant* result) {
    if (result)
        result->reset();
    if (!object || !name)
        return E_POINTER;

    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;

    // Invoke wants the arguments last to first. The slots are shallow copies: the caller
    // keeps owning what they hold, and nothing here clears them.
    constexpr std::size_t kMaxArgs = 8;
    if (args.size() > kMaxArgs)
        return E_INVALIDARG;
    VARIANTARG slots[kMaxArgs];
    std::size_t n = 0;
    for (const VARIANT* arg : args) {
        if (!arg)
            return E_POINTER;
        slots[args.size() - 1 - n++] = *arg;
    }

    DISPPARAMS params = {};
    params.rgvarg = n ? slots : nullptr;
    params.cArgs = static_cast<UINT>(n);
    DISPID putId = DISPID_PROPERTYPUT;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }

    EXCEPINFO exception = {};
    UINT badArg = 0;
    UniqueVariant answer;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        result ? answer.put() : nullptr, &exception, &badArg);
    // An automation exception hands its texts to the caller.
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    if (SUCCEEDED(hr) && result)
        *result = std::move(answer);
    return hr;
}

// Reads a property; args are the index arguments of a parameterised property such as a
// collection's "Item".
inline HRESULT GetProperty(IDispatch* object, const wchar_t* name, UniqueVariant* value,
                           DispatchArgs args = {}) {
    return InvokeByName(object, name, DISPATCH_PROPERTYGET, args, value);
}

// Writes a property by value.
inline HRESULT PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value) {
    return InvokeByName(object, name, DISPATCH_PROPERTYPUT, {&value}, nullptr);
}

// Calls a method; result may be null.
inline HRESULT CallMethod(IDispatch* object, const wchar_t* name, DispatchArgs args,
                          UniqueVariant* result = nullptr) {
    return InvokeByName(object, name, DISPATCH_METHOD, args, result);
}

// The object held in a property (a VT_DISPATCH value); empty when the read fails or the
// value is no object.
inline ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name,
                                           DispatchArgs args = {}) {
    UniqueVariant value;
    if (FAILED(GetProperty(object, name, &value, args)))
        return ComPtr<IDispatch>();
    return value.Dispatch();
}
