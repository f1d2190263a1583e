// The window system without X11: the task-bar state is left to Qt, and no compositor is known.
#include "platform/window_system.h"

namespace window {

void setSkipTaskbar(QWidget*, bool) {}

bool compositorRunning() {
    return false;
}

} // namespace window
