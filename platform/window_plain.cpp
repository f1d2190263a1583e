// The window system without X11: the window manager's task-bar state is left to Qt.
#include "platform/window.h"

namespace window {

void setSkipTaskbar(QWidget*, bool) {}

} // namespace window
