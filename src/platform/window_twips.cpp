#include "platform/window_twips.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace window {

namespace {

double twipsPerPixel(int logicalDpi) {
    return 1440.0 / (logicalDpi > 0 ? logicalDpi : 96);
}

} // namespace

double twipsPerPixelX(const QWidget* widget) {
    return twipsPerPixel(widget->logicalDpiX());
}
double twipsPerPixelY(const QWidget* widget) {
    return twipsPerPixel(widget->logicalDpiY());
}

void placeTwips(QWidget* control, double left, double top, double width, double height) {
    const double tx = twipsPerPixelX(control);
    const double ty = twipsPerPixelY(control);
    control->setGeometry(int(std::lround(left / tx)), int(std::lround(top / ty)),
                         std::max(1, int(std::lround(width / tx))),
                         std::max(1, int(std::lround(height / ty))));
}

void resizeTwips(QWidget* window, double width, double height) {
    window->resize(std::max(1, int(std::lround(width / twipsPerPixelX(window)))),
                   std::max(1, int(std::lround(height / twipsPerPixelY(window)))));
}

void fixedSizeTwips(QWidget* window, double width, double height) {
    resizeTwips(window, width, height);
    window->setFixedSize(window->size());
}

} // namespace window
