#include "platform/sysinfotool.h"

#include <QProcess>
#include <QStandardPaths>

namespace sysinfotool {

QStringList searchPath() {
    return qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

SysInfoTool findSysInfoTool(const QStringList& folders) {
    struct Known {
        const char* name;
        QStringList arguments;
    };
    const Known known[] = {
        {"kinfocenter", {}}, {"hardinfo2", {}},
        {"hardinfo", {}},    {"gnome-control-center", {QStringLiteral("info-overview")}},
        {"xfce4-about", {}},
    };
    if (folders.isEmpty())
        return {};
    for (const Known& k : known) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(k.name), folders);
        if (!path.isEmpty())
            return {path, k.arguments};
    }
    return {};
}

bool startDetached(const SysInfoTool& tool) {
    if (tool.program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(tool.program);
    process.setArguments(tool.arguments);
    return process.startDetached();
}

} // namespace sysinfotool
