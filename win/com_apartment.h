// Win32 only. COM apartment of the calling thread: InitCom and UninitCom are always used in
// pairs on one thread. ComApartment is the scoped form of the pair.
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
