#pragma once

class QWidget;

namespace window {

// Twips per device-independent pixel on each axis (15 at 96 dpi).
double twipsPerPixelX(const QWidget* widget);
double twipsPerPixelY(const QWidget* widget);

// Places a control by a position and size in twips; never smaller than one pixel.
void placeTwips(QWidget* control, double left, double top, double width, double height);
// Resizes a window's client area to a size in twips; fixedSizeTwips also keeps it there.
void resizeTwips(QWidget* window, double width, double height);
void fixedSizeTwips(QWidget* window, double width, double height);

} // namespace window
