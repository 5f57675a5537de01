// InitCom and UninitCom on threads of their own, read back with CoGetApartmentType.
#include "win/com_apartment.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

enum class Apartment { None, Single, Multi, Other };

Apartment CurrentApartment() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    if (FAILED(::CoGetApartmentType(&type, &qualifier)))
        return Apartment::None;
    switch (type) {
    case APTTYPE_STA:
    case APTTYPE_MAINSTA:
        return Apartment::Single;
    case APTTYPE_MTA:
        return Apartment::Multi;
    default:
        return Apartment::Other;
    }
}

// Each test starts from a thread that has never touched COM.
template <typename Body> void OnNewThread(Body body) {
    std::thread thread(body);
    thread.join();
}

TEST(ComApartment, PairOnAMultithreadedThreadLeavesItsApartmentAlone) {
    OnNewThread([] {
        ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        // CoInitialize fails here (RPC_E_CHANGED_MODE): the matching UninitCom must not
        // undo the initialisation above.
        InitCom();
        EXPECT_EQ(CurrentApartment(), Apartment::Multi);
        UninitCom();
        EXPECT_EQ(CurrentApartment(), Apartment::Multi);
        ::CoUninitialize();
        EXPECT_EQ(CurrentApartment(), Apartment::None);
    });
}

TEST(ComApartment, NestedPairsCloseInnermostFirst) {
    OnNewThread([] {
        InitCom();
        EXPECT_EQ(CurrentApartment(), Apartment::Single);
        InitCom(); // S_FALSE, which still needs its CoUninitialize
        UninitCom();
        EXPECT_EQ(CurrentApartment(), Apartment::Single);
        UninitCom();
        EXPECT_EQ(CurrentApartment(), Apartment::None);
    });
}

TEST(ComApartment, UninitComWithoutInitComDoesNothing) {
    OnNewThread([] {
        ASSERT_EQ(::CoInitialize(nullptr), S_OK);
        UninitCom();
        EXPECT_EQ(CurrentApartment(), Apartment::Single);
        ::CoUninitialize();
        EXPECT_EQ(CurrentApartment(), Apartment::None);
    });
}

TEST(ComApartment, FailedAndSucceededInitsKeepTheirOrder) {
    OnNewThread([] {
        ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        InitCom(); // fails: the thread is multithreaded
        ::CoUninitialize();
        InitCom(); // succeeds: a single-threaded apartment now
        EXPECT_EQ(CurrentApartment(), Apartment::Single);
        UninitCom(); // closes the one that succeeded
        EXPECT_EQ(CurrentApartment(), Apartment::None);
        UninitCom(); // closes the failed one: nothing to undo
        ASSERT_EQ(::CoInitialize(nullptr), S_OK) << "COM is not left initialised";
        ::CoUninitialize();
    });
}

TEST(ComApartment, RecordsAreKeptPerThread) {
    OnNewThread([] {
        InitCom();
        // Another thread's UninitCom has no open InitCom of its own.
        OnNewThread([] {
            ASSERT_EQ(::CoInitialize(nullptr), S_OK);
            UninitCom();
            EXPECT_EQ(CurrentApartment(), Apartment::Single);
            ::CoUninitialize();
        });
        EXPECT_EQ(CurrentApartment(), Apartment::Single);
        UninitCom();
        EXPECT_EQ(CurrentApartment(), Apartment::None);
    });
}

TEST(ComApartment, ScopedPair) {
    OnNewThread([] {
        {
            ComApartment apartment;
            EXPECT_EQ(CurrentApartment(), Apartment::Single);
        }
        EXPECT_EQ(CurrentApartment(), Apartment::None);
    });
}

} // namespace
