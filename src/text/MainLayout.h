#pragma once

// The resize rule of the main window, in twips. Width and height are the window's outer size.
struct MainLayout {
    double windowHeight = 0; // at least the minimum height
    bool heightRaised = false;
    double text1Width = 0;
    double text1Height = 0;
    double list1Left = 0;
    double list1Height = 0;
    double combo1Left = 0;
};

namespace mainlayout {
constexpr double kMinHeight = 826;
// Nominal frame between the outer size and the client area.
constexpr double kFrameWidth = 60;
constexpr double kFrameHeight = 435;
constexpr double kText1Left = 60;
} // namespace mainlayout

MainLayout computeMainLayout(double windowWidth, double windowHeight);
