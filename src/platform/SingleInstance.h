#pragma once
#include "platform/window_loaded.h"

// A window that exists at most once: loaded on first use, and out of its slot as soon as it
// is unloaded, so that the next use loads a new one.
template <typename T> class SingleInstance {
public:
    // The loaded window, or null.
    static T* instance() { return s_window; }

    // Unloads the window if it is loaded: hidden now, deleted when control returns to the
    // event loop.
    static void Unload() { window::unloadLater(s_window); }

protected:
    SingleInstance() = default;
    ~SingleInstance() {
        if (s_self == this) {
            s_self = nullptr;
            s_window = nullptr;
        }
    }

    // The loaded window, or a new one from `create` (then `*created` is set).
    template <typename Create> static T* loadWith(Create&& create, bool* created = nullptr) {
        const bool make = s_window == nullptr;
        if (make) {
            s_window = create();
            s_self = s_window;
        }
        if (created)
            *created = make;
        return s_window;
    }

private:
    static inline T* s_window = nullptr;
    // The same object seen as this base, for the destructor (T's part is gone by then).
    static inline SingleInstance* s_self = nullptr;
};
