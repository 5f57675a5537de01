// The COM owners and the calls by name, against a real automation object of the platform
// ("VBScript.RegExp", which Wine's scripting engine provides).
#include "win/late_binding.h"

#include "win/com_apartment.h"
#include "win/com_ptr.h"
#include "win/unique_bstr.h"
#include "win/unique_variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace {

// The object's reference count, read as AddRef and Release report it.
ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

UniqueVariant StringVariant(const wchar_t* s) {
    return UniqueVariant::FromBstr(UniqueBstr(::SysAllocString(s)));
}

std::wstring StringOf(const UniqueVariant& v) {
    UniqueBstr s = v.ToBstr();
    return s ? std::wstring(s.get(), s.length()) : std::wstring(L"<none>");
}

class LateBinding : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CreateObject(L"VBScript.RegExp", &regex)); }

    ComApartment apartment;
    ComPtr<IDispatch> regex;
};

TEST(LateBindingCreate, UnknownProgIdFailsAndLeavesNothing) {
    ComApartment apartment;
    ComPtr<IDispatch> object;
    ASSERT_HRESULT_SUCCEEDED(CreateObject(L"VBScript.RegExp", &object));
    // A failed creation also drops what the out-value held before.
    EXPECT_HRESULT_FAILED(CreateObject(L"No.Such.ProgId.Anywhere", &object));
    EXPECT_FALSE(object);
}

TEST_F(LateBinding, PropertiesRoundTrip) {
    ASSERT_HRESULT_SUCCEEDED(PutProperty(regex.get(), L"Pattern", StringVariant(L"a+b").get()));
    ASSERT_HRESULT_SUCCEEDED(
        PutProperty(regex.get(), L"Global", UniqueVariant::FromBool(true).get()));
    UniqueVariant value;
    ASSERT_HRESULT_SUCCEEDED(GetProperty(regex.get(), L"Pattern", &value));
    EXPECT_EQ(StringOf(value), L"a+b");
    ASSERT_HRESULT_SUCCEEDED(GetProperty(regex.get(), L"Global", &value));
    EXPECT_TRUE(value.ToBool(false));
    ASSERT_HRESULT_SUCCEEDED(
        PutProperty(regex.get(), L"Global", UniqueVariant::FromBool(false).get()));
    ASSERT_HRESULT_SUCCEEDED(GetProperty(regex.get(), L"Global", &value));
    EXPECT_FALSE(value.ToBool(true));
}

TEST_F(LateBinding, UnknownMemberFailsByNameAndEmptiesTheResult) {
    UniqueVariant value = UniqueVariant::FromLong(5);
    EXPECT_EQ(GetProperty(regex.get(), L"NoSuchProperty", &value), DISP_E_UNKNOWNNAME);
    EXPECT_TRUE(value.empty());
    // The engine has no "Singleline"; writing it fails the same way.
    EXPECT_EQ(PutProperty(regex.get(), L"Singleline", UniqueVariant::FromBool(true).get()),
              DISP_E_UNKNOWNNAME);
    value = UniqueVariant::FromLong(5);
    EXPECT_EQ(CallMethod(regex.get(), L"NoSuchMethod", {}, &value), DISP_E_UNKNOWNNAME);
    EXPECT_TRUE(value.empty());
}

TEST_F(LateBinding, NullObjectFailsWithoutCalling) {
    UniqueVariant value = UniqueVariant::FromLong(5);
    EXPECT_EQ(GetProperty(nullptr, L"Pattern", &value), E_POINTER);
    EXPECT_TRUE(value.empty());
    EXPECT_EQ(PutProperty(nullptr, L"Pattern", value.get()), E_POINTER);
    EXPECT_EQ(CallMethod(nullptr, L"Execute", {&value.get()}, &value), E_POINTER);
    EXPECT_FALSE(GetObjectProperty(nullptr, L"Item"));
}

TEST_F(LateBinding, MethodArgumentsArriveInTheirOrder) {
    ASSERT_HRESULT_SUCCEEDED(PutProperty(regex.get(), L"Pattern", StringVariant(L"b").get()));
    UniqueVariant subject = StringVariant(L"abcb");
    UniqueVariant replacement = StringVariant(L"X");
    UniqueVariant result;
    // Replace(subject, replacement): reversed, the engine would search "X" for "b".
    ASSERT_HRESULT_SUCCEEDED(
        CallMethod(regex.get(), L"Replace", {&subject.get(), &replacement.get()}, &result));
    EXPECT_EQ(StringOf(result), L"aXcb");
    // The arguments still belong to the caller afterwards.
    EXPECT_EQ(StringOf(subject), L"abcb");
    EXPECT_EQ(StringOf(replacement), L"X");
    // The result may take the place of an argument.
    ASSERT_HRESULT_SUCCEEDED(
        CallMethod(regex.get(), L"Replace", {&subject.get(), &replacement.get()}, &subject));
    EXPECT_EQ(StringOf(subject), L"aXcb");
}

TEST_F(LateBinding, FailingMethodReportsTheEngineException) {
    ASSERT_HRESULT_SUCCEEDED(PutProperty(regex.get(), L"Pattern", StringVariant(L"(").get()));
    UniqueVariant subject = StringVariant(L"abc");
    UniqueVariant result = UniqueVariant::FromLong(1);
    EXPECT_EQ(CallMethod(regex.get(), L"Execute", {&subject.get()}, &result), DISP_E_EXCEPTION);
    EXPECT_TRUE(result.empty());
}

TEST_F(LateBinding, CollectionItemsByIndexArgument) {
    ASSERT_HRESULT_SUCCEEDED(PutProperty(regex.get(), L"Pattern", StringVariant(L"\\d").get()));
    ASSERT_HRESULT_SUCCEEDED(
        PutProperty(regex.get(), L"Global", UniqueVariant::FromBool(true).get()));
    UniqueVariant subject = StringVariant(L"a1b2");
    UniqueVariant matches;
    ASSERT_HRESULT_SUCCEEDED(CallMethod(regex.get(), L"Execute", {&subject.get()}, &matches));
    ComPtr<IDispatch> collection = matches.Dispatch();
    ASSERT_TRUE(collection);

    UniqueVariant index = UniqueVariant::FromLong(1);
    ComPtr<IDispatch> second = GetObjectProperty(collection.get(), L"Item", {&index.get()});
    ASSERT_TRUE(second);
    UniqueVariant value;
    ASSERT_HRESULT_SUCCEEDED(GetProperty(second.get(), L"Value", &value));
    EXPECT_EQ(StringOf(value), L"2");

    index = UniqueVariant::FromLong(2);
    EXPECT_FALSE(GetObjectProperty(collection.get(), L"Item", {&index.get()}));
    // A property that holds no object gives no object.
    EXPECT_FALSE(GetObjectProperty(collection.get(), L"Count"));
}

TEST_F(LateBinding, ComPtrCopiesTakeAndGiveBackReferences) {
    const ULONG base = References(regex.get());
    {
        ComPtr<IDispatch> copy = regex;
        EXPECT_EQ(References(regex.get()), base + 1);
        ComPtr<IDispatch> assigned;
        assigned = copy;
        EXPECT_EQ(References(regex.get()), base + 2);
        assigned = assigned; // self-assignment keeps its reference
        EXPECT_EQ(References(regex.get()), base + 2);
        ComPtr<IDispatch> moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(References(regex.get()), base + 2);
        moved = std::move(assigned); // releases what moved held
        EXPECT_EQ(References(regex.get()), base + 1);
        ComPtr<IDispatch> shared = ComPtr<IDispatch>::Share(regex.get());
        EXPECT_EQ(References(regex.get()), base + 2);
        shared.reset();
        EXPECT_EQ(References(regex.get()), base + 1);
    }
    EXPECT_EQ(References(regex.get()), base);
}

TEST_F(LateBinding, VariantOwnsTheObjectItHolds) {
    const ULONG base = References(regex.get());
    {
        UniqueVariant holder;
        VARIANT* slot = holder.put();
        slot->vt = VT_DISPATCH;
        slot->pdispVal = ComPtr<IDispatch>(regex).release();
        EXPECT_EQ(References(regex.get()), base + 1);
        UniqueVariant copy = holder.Duplicate();
        EXPECT_EQ(References(regex.get()), base + 2);
        ComPtr<IDispatch> taken = copy.Dispatch();
        EXPECT_EQ(taken.get(), regex.get());
        EXPECT_EQ(References(regex.get()), base + 3);
    }
    EXPECT_EQ(References(regex.get()), base);
}

// Every call by name gives back what it took: the arguments' and results' references are
// released, and an object read out of a collection holds no extra reference to it.
TEST_F(LateBinding, CallsByNameLeaveReferenceCountsAsTheyWere) {
    const ULONG engineBase = References(regex.get());
    ASSERT_HRESULT_SUCCEEDED(PutProperty(regex.get(), L"Pattern", StringVariant(L"\\d").get()));
    ASSERT_HRESULT_SUCCEEDED(
        PutProperty(regex.get(), L"Global", UniqueVariant::FromBool(true).get()));
    UniqueVariant value;
    ASSERT_HRESULT_SUCCEEDED(GetProperty(regex.get(), L"Pattern", &value));
    EXPECT_EQ(PutProperty(regex.get(), L"Singleline", UniqueVariant::FromBool(true).get()),
              DISP_E_UNKNOWNNAME);

    UniqueVariant subject = StringVariant(L"a1b2");
    UniqueVariant matches;
    ASSERT_HRESULT_SUCCEEDED(CallMethod(regex.get(), L"Execute", {&subject.get()}, &matches));
    ComPtr<IDispatch> collection = matches.Dispatch();
    ASSERT_TRUE(collection);
    matches.reset();
    EXPECT_EQ(References(collection.get()), 1u) << "the result's reference went to its owner";
    UniqueVariant first = UniqueVariant::FromLong(0);
    ComPtr<IDispatch> firstItem = GetObjectProperty(collection.get(), L"Item", {&first.get()});
    ASSERT_TRUE(firstItem);
    const ULONG itemBase = References(firstItem.get());
    for (int round = 0; round < 3; ++round) {
        UniqueVariant index = UniqueVariant::FromLong(round % 2);
        ComPtr<IDispatch> item = GetObjectProperty(collection.get(), L"Item", {&index.get()});
        ASSERT_TRUE(item);
        ASSERT_HRESULT_SUCCEEDED(GetProperty(item.get(), L"Value", &value));
        ASSERT_HRESULT_SUCCEEDED(GetProperty(collection.get(), L"Count", &value));
        index = UniqueVariant::FromLong(5);
        EXPECT_FALSE(GetObjectProperty(collection.get(), L"Item", {&index.get()}));
    }
    EXPECT_EQ(References(firstItem.get()), itemBase);
    firstItem.reset();
    EXPECT_EQ(References(collection.get()), 1u);
    collection.reset();
    EXPECT_EQ(References(regex.get()), engineBase);
}

struct NumberCase {
    const char* name;
    double value;
    LONG expected;
};

class VariantNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(VariantNumber, TruncatesTowardZeroWithinLongRange) {
    UniqueVariant v;
    VARIANT* slot = v.put();
    slot->vt = VT_R8;
    slot->dblVal = GetParam().value;
    EXPECT_EQ(v.ToLongTruncated(-99), GetParam().expected);
}

const NumberCase kNumberCases[] = {
    {"Positive", 2.9, 2},
    {"Negative", -2.9, -2},
    {"Half", 0.5, 0},
    {"AboveRange", 1e12, 2147483647},
    {"BelowRange", -1e12, -2147483647 - 1},
    {"NotANumber", std::nan(""), -99},
};

INSTANTIATE_TEST_SUITE_P(Cases, VariantNumber, ::testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UniqueVariantConversion, NonNumbersAndNonStrings) {
    EXPECT_EQ(StringVariant(L"12.7").ToLongTruncated(-1), 12);
    EXPECT_EQ(StringVariant(L"abc").ToLongTruncated(-1), -1);
    EXPECT_EQ(UniqueVariant().ToLongTruncated(-1), 0) << "VT_EMPTY reads as 0";
    EXPECT_EQ(StringOf(UniqueVariant()), L"");
    EXPECT_EQ(StringOf(UniqueVariant::FromLong(-7)), L"-7");
    UniqueVariant null;
    null.put()->vt = VT_NULL;
    EXPECT_FALSE(null.ToBstr());
    EXPECT_TRUE(UniqueVariant::FromBstr(UniqueBstr()).empty());
}

TEST(UniqueBstrOwner, MovesAndLength) {
    UniqueBstr a = UniqueBstr::FromChars(L"ab\0c", 4);
    ASSERT_TRUE(a);
    EXPECT_EQ(a.length(), 4u);
    UniqueBstr b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(a.length(), 0u);
    EXPECT_EQ(b.length(), 4u);
    BSTR raw = b.release();
    EXPECT_FALSE(b);
    UniqueBstr c(raw);
    EXPECT_EQ(c.get(), raw);
}

} // namespace
