// RefObj: the base of the module's own reference-counted COM objects. Every
// interface of a derived class counts on this one count.
#pragma once

#include <windows.h>

class RefObj {
public:
    RefObj(const RefObj&) = delete;
    RefObj& operator=(const RefObj&) = delete;
    virtual ~RefObj() { InterlockedDecrement(&liveObjects_); }

    LONG AddRefObj() { return InterlockedIncrement(&refs_); }
    // Destroys the whole object when the last reference goes.
    LONG ReleaseObj() {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }

    // Objects alive in this process, so that tests can prove every one was freed.
    static LONG LiveObjects() { return liveObjects_; }

protected:
    // A new object has no reference: whoever builds it takes the first.
    RefObj() { InterlockedIncrement(&liveObjects_); }

private:
    LONG refs_ = 0;
    static inline LONG volatile liveObjects_ = 0;
};

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(RefObj) == 8, "RefObj: vtable, reference count");
#endif
