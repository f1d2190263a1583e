#include "text/MainLayout.h"

#include <algorithm>

MainLayout computeMainLayout(double windowWidth, double windowHeight) {
    using namespace mainlayout;
    MainLayout l;
    l.heightRaised = windowHeight < kMinHeight;
    l.windowHeight = std::max(windowHeight, kMinHeight);
    // 1095 is the width of the list and the combo box; no size below one twip is assigned.
    l.text1Width = std::max(windowWidth - 1095 - 210, 1.0);
    l.text1Height = l.windowHeight - 825;
    l.list1Height = l.windowHeight - 825;
    l.list1Left = kText1Left + l.text1Width + 40;
    l.combo1Left = kText1Left + l.text1Width + 40;
    return l;
}
