#include "platform/SysInfo.h"

#include "platform/boxes.h"

void StartSysInfo(const QStringList& folders) {
    if (!sysinfotool::startDetached(sysinfotool::findSysInfoTool(folders)))
        boxes::MsgBox(QStringLiteral("System-Informationen sind augenblicklich nicht verfügbar."));
}
