#include "platform/clsINIClass.h"

#include "platform/profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace settingsfile {

namespace {
QString& programFolderOverride() {
    static QString folder;
    return folder;
}
} // namespace

void setProgramFolderForTests(const QString& folder) {
    programFolderOverride() = folder;
}

QString defaultPath() {
    const QString folder = programFolderOverride().isEmpty()
                               ? QCoreApplication::applicationDirPath()
                               : programFolderOverride();
    const QString name =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".ini";
    if (::access(QFile::encodeName(folder).constData(), W_OK) == 0)
        return folder + QLatin1Char('/') + name;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config + QLatin1Char('/') + name;
}

} // namespace settingsfile

clsINIClass::clsINIClass()
    : m_defaultFileName(settingsfile::defaultPath()), m_defaultSection(QStringLiteral("GENERAL")) {}

QString clsINIClass::fileOrDefault(const QString& strFilename) const {
    return strFilename.isEmpty() ? m_defaultFileName : strFilename;
}

QString clsINIClass::sectionOrDefault(const QString& strSection) const {
    return strSection.isEmpty() ? m_defaultSection : strSection;
}

QString clsINIClass::strGetKeyValue(const QString& strKey, const QString& strSection,
                                    const QString& strFilename) const {
    return profile::getString(sectionOrDefault(strSection), strKey, fileOrDefault(strFilename));
}

int clsINIClass::lngWriteKey(const QString& strKey, const QString& strValue,
                             const QString& strSection, const QString& strFilename) const {
    if (strValue.size() > kMaxWrite)
        return -1;
    return profile::writeString(sectionOrDefault(strSection), strKey, strValue,
                                fileOrDefault(strFilename));
}

int clsINIClass::lngDeleteKey(const QString& strKey, const QString& strSection,
                              const QString& strFilename) const {
    return profile::deleteKey(sectionOrDefault(strSection), strKey, fileOrDefault(strFilename));
}
