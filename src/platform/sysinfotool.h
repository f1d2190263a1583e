#pragma once
#include <QString>
#include <QStringList>

// Where the system-information tool is and how it starts: known programs are looked up on the
// search path, the first one found wins.
namespace sysinfotool {

struct SysInfoTool {
    QString program; // full path; empty when none was found
    QStringList arguments;
};

// The search path of the environment, as a list of folders.
QStringList searchPath();

SysInfoTool findSysInfoTool(const QStringList& folders = searchPath());

// Starts the program detached, with an argument list and no shell; false when it could not be
// started.
bool startDetached(const SysInfoTool& tool);

} // namespace sysinfotool
