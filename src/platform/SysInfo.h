#pragma once
#include <QStringList>

#include "platform/registry.h"

// Starts the system-information tool, or tells the user that none is available.
void StartSysInfo(const QStringList& folders = registry::searchPath());
