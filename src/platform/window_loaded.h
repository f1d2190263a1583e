#pragma once

class QWidget;

namespace window {

// Loaded windows: the process ends when the last one is unloaded.
void registerLoaded(QWidget* widget);
void unregisterLoaded(QWidget* widget);
int loadedCount();

// Unloads a single-instance window: the slot is emptied at once (so the next use loads a new
// one), the window hidden and deleted when control returns to the event loop.
template <typename T> void unloadLater(T*& slot) {
    T* window = slot;
    slot = nullptr;
    if (window) {
        window->hide();
        window->deleteLater();
    }
}

} // namespace window
