#include "platform/clsINIClass.h"

#include "platform/files.h"

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

namespace {

QString programFolder() {
    return programFolderOverride().isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programFolderOverride();
}

QString fileName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".ini";
}

// Below /usr the files belong to the package manager: root may write there, but the next update
// or removal of the package would take the settings along (and the starter file changed).
bool systemFolder(const QString& folder) {
    const QString path = QFileInfo(folder).canonicalFilePath();
    return path == QLatin1String("/usr") || path.startsWith(QLatin1String("/usr/"));
}

bool programFolderWritable() {
    return ::access(QFile::encodeName(programFolder()).constData(), W_OK) == 0 &&
           !systemFolder(programFolder());
}

} // namespace

QString besideProgram() {
    return programFolder() + QLatin1Char('/') + fileName();
}

QString userFile() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1Char('/') +
           fileName();
}

QString defaultPath() {
    if (programFolderWritable())
        return besideProgram();
    const QString user = userFile();
    return QFileInfo::exists(user) ? user : besideProgram();
}

WritePlace prepareWrite() {
    if (programFolderWritable())
        return WritePlace{true, besideProgram(), QString()};
    const QString user = userFile();
    const QString folder = QFileInfo(user).absolutePath();
    if (!files::makePrivateFolder(folder))
        return WritePlace{false, user,
                          QStringLiteral("Der Ordner \"%1\" für die Einstellungen konnte nicht "
                                         "angelegt werden.")
                              .arg(folder)};
    return WritePlace{true, user, QString()};
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

QString clsINIClass::writeFileOrDefault(const QString& strFilename) const {
    if (!strFilename.isEmpty() || m_ownDefaultFile)
        return fileOrDefault(strFilename);
    const settingsfile::WritePlace place = settingsfile::prepareWrite();
    return place.ok ? place.path : QString();
}

int clsINIClass::lngWriteKey(const QString& strKey, const QString& strValue,
                             const QString& strSection, const QString& strFilename) const {
    if (strValue.size() > kMaxWrite)
        return -1;
    const QString file = writeFileOrDefault(strFilename);
    if (file.isEmpty())
        return 0;
    return profile::writeString(sectionOrDefault(strSection), strKey, strValue,
                                fileOrDefault(strFilename), file);
}

int clsINIClass::lngDeleteKey(const QString& strKey, const QString& strSection,
                              const QString& strFilename) const {
    const QString file = writeFileOrDefault(strFilename);
    if (file.isEmpty())
        return 0;
    return profile::deleteKey(sectionOrDefault(strSection), strKey, fileOrDefault(strFilename),
                              file);
}
