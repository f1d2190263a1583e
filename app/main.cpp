#include "app/modMain.h"
#include "platform/memory.h"
#include "platform/window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    memory::returnLargeBlocksToSystem();
    window::preferX11OnWayland();
    QApplication app(argc, argv);
    // The program ends when its last window is unloaded, not when the last one is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    installGermanQtTexts();
    installEndHandlers();
    Main();
    return QApplication::exec();
}
