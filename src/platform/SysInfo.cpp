#include "platform/SysInfo.h"

#include "platform/boxes.h"

void StartSysInfo(const QStringList& folders) {
    if (!registry::startDetached(registry::findSysInfoTool(folders)))
        boxes::MsgBox(QStringLiteral("System-Informationen sind augenblicklich nicht verfügbar."));
}
