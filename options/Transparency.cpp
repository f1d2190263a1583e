#include "options/Transparency.h"

#include "app/modMain.h"

#include <QWidget>

void clsAlphaBlend::AlphaBlend(QWidget* window, uint8_t level) {
    window->setWindowOpacity((255 - level) / 255.0);
}

void SetTransparency(QWidget* window, int level) {
    clsAlphaBlend().AlphaBlend(window, uint8_t(level));
    bytTransparency = uint8_t(level);
}
