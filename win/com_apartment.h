// Win32 only. COM apartment of the calling thread: InitCom and UninitCom are always used in
// pairs on one thread, and may nest. ComApartment is the scoped form of the pair.
//
// UninitCom calls CoUninitialize only when the InitCom it pairs with (the innermost one
// still open on this thread) had succeeded: after a failed CoInitialize, for instance
// RPC_E_CHANGED_MODE on a thread that is already in the multithreaded apartment, a
// CoUninitialize would undo an initialisation that belongs to someone else. A UninitCom
// without an open InitCom on its thread does nothing.
#pragma once

void InitCom();
void UninitCom();

class ComApartment {
public:
    ComApartment() { InitCom(); }
    ~ComApartment() { UninitCom(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};
