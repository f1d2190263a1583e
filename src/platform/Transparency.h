#pragma once
#include <cstdint>

class QWidget;

// The applied opacity never goes below this, whatever the level.
constexpr double kMinimumOpacity = 0.15;

// Window opacity: level 0 is fully opaque, higher levels more transparent, down to the minimum.
class clsAlphaBlend {
public:
    void AlphaBlend(QWidget* window, uint8_t level);
};

// Applies the level to the window.
void SetTransparency(QWidget* window, int level);
