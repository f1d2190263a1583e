#pragma once
#include <QIcon>

// The program's icon: the drawing rendered at each size of the hicolor theme, the same files
// the package installs.
QIcon programIcon();
