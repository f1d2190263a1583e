#include "platform/ProgramIcon.h"

#include <QDir>

QIcon programIcon() {
    static const QIcon icon = [] {
        QIcon i;
        const QDir renders(QStringLiteral(":/icons"));
        for (const QString& name : renders.entryList(QDir::Files))
            i.addFile(renders.filePath(name));
        return i;
    }();
    return icon;
}
