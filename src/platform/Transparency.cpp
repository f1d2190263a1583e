#include "platform/Transparency.h"

#include <QWidget>

#include <algorithm>

void clsAlphaBlend::AlphaBlend(QWidget* window, uint8_t level) {
    // A window at opacity 0 would be open but out of reach for good; the level itself is kept.
    window->setWindowOpacity(std::max((255 - level) / 255.0, kMinimumOpacity));
}

void SetTransparency(QWidget* window, int level) {
    clsAlphaBlend().AlphaBlend(window, uint8_t(level));
}
