#pragma once
#include <QIcon>

// The program's icon: a speech bubble with a bracket tag, drawn at 32 and 128 pixels.
QIcon programIcon();
