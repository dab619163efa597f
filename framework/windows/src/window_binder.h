// The one binding of a window to its object: a map in the process, so the
// lookup each message makes never asks the window server. Under Wine a window
// property costs a server round trip (about 45 us), and comctl32's subclass
// reads one on every message; GWLP_USERDATA would be as cheap but belongs to
// whoever made the window (a dialog's control, a superclass).
//
// Windows of every thread of the module share the map: a lookup takes the lock
// shared, so the threads' messages do not queue behind one another. The object
// is called outside the lock.
#pragma once

#include <windows.h>

#include <unordered_map>

namespace fw::detail {

template <class T>
class WindowBinder {
public:
    struct Binding {
        T* object = nullptr;
        // A subclassed window's procedure below ours; null for a window of our class.
        WNDPROC previous = nullptr;
        // Whether the subclassed window was an ANSI one before ours.
        bool wasAnsi = false;
    };

    static WindowBinder& Get() {
        static WindowBinder binder;
        return binder;
    }

    Binding Find(HWND wnd) const {
        if (!wnd) return {};
        ::AcquireSRWLockShared(&lock_);
        const auto it = map_.find(wnd);
        const Binding found = it != map_.end() ? it->second : Binding{};
        ::ReleaseSRWLockShared(&lock_);
        return found;
    }

    T* ObjectOf(HWND wnd) const { return Find(wnd).object; }

    void Bind(HWND wnd, T* object, WNDPROC previous = nullptr, bool wasAnsi = false) {
        ::AcquireSRWLockExclusive(&lock_);
        map_[wnd] = Binding{object, previous, wasAnsi};
        ::ReleaseSRWLockExclusive(&lock_);
    }

    // Gives a pass-through entry (our procedure still in the chain, no object)
    // a new object; false when there is none.
    bool Adopt(HWND wnd, T* object, WNDPROC* previous, bool* wasAnsi) {
        ::AcquireSRWLockExclusive(&lock_);
        const auto it = map_.find(wnd);
        const bool adopted = it != map_.end() && !it->second.object && it->second.previous;
        if (adopted) {
            it->second.object = object;
            *previous = it->second.previous;
            *wasAnsi = it->second.wasAnsi;
        }
        ::ReleaseSRWLockExclusive(&lock_);
        return adopted;
    }

    // The object lets go; the entry stays while our procedure is in the chain.
    void Release(HWND wnd, const T* object) {
        ::AcquireSRWLockExclusive(&lock_);
        if (const auto it = map_.find(wnd); it != map_.end() && it->second.object == object) it->second.object = nullptr;
        ::ReleaseSRWLockExclusive(&lock_);
    }

    void Erase(HWND wnd) {
        ::AcquireSRWLockExclusive(&lock_);
        map_.erase(wnd);
        ::ReleaseSRWLockExclusive(&lock_);
    }

private:
    WindowBinder() = default;

    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    std::unordered_map<HWND, Binding> map_;
};

}  // namespace fw::detail
