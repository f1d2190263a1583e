#pragma once
#include <QStringList>

#include "platform/sysinfotool.h"

// Starts the system-information tool, or tells the user that none is available.
void StartSysInfo(const QStringList& folders = sysinfotool::searchPath());
