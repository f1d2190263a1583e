#pragma once
#include <cstdint>

class QWidget;

// Window opacity: level 0 is fully opaque, 255 invisible while the window stays open.
class clsAlphaBlend {
public:
    void AlphaBlend(QWidget* window, uint8_t level);
};

// Applies the level to the window and records it in bytTransparency.
void SetTransparency(QWidget* window, int level);
