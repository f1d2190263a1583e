#include "app/modMain.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/window_loaded.h"
#include "platform/window_system.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    memory::returnLargeBlocksToSystem();
    window::preferX11OnWayland();
    window::passActivationToken();
    files::ignoreRelativeXdgPaths();
    QApplication app(argc, argv);
    // The program ends when its last window is unloaded, not when the last one is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    installGermanQtTexts();
    installEndHandlers();
    Main();
    // Ended during the start: a quit asked for before the main loop runs would be lost.
    if (window::loadedCount() == 0)
        return 0;
    return QApplication::exec();
}
