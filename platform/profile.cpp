#include "platform/profile.h"

#include <QFile>
#include <QFileInfo>

namespace profile {

namespace {

// The file's bytes; a missing file is empty. False only when the file exists but cannot be read,
// so that a write does not replace content it never saw.
bool readBytes(const QString& fileName, QByteArray* bytes) {
    bytes->clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return !QFileInfo::exists(fileName);
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

Document load(const QString& fileName) {
    QByteArray bytes;
    if (!readBytes(fileName, &bytes))
        bytes.clear();
    return Document::fromBytes(bytes, fileName);
}

files::WriteResult save(const Document& document) {
    return files::writeFile(document.fileName(), document.bytes());
}

QString getString(const QString& section, const QString& key, const QString& fileName) {
    return load(fileName).value(section, key);
}

int writeString(const QString& section, const QString& key, const QString& value,
                const QString& fileName) {
    QByteArray bytes;
    if (!readBytes(fileName, &bytes))
        return 0;
    Document doc = Document::fromBytes(bytes, fileName);
    if (!doc.setValue(section, key, value))
        return 0;
    return save(doc).ok ? 1 : 0;
}

int deleteKey(const QString& section, const QString& key, const QString& fileName) {
    QByteArray bytes;
    if (!readBytes(fileName, &bytes))
        return 0;
    Document doc = Document::fromBytes(bytes, fileName);
    if (!doc.removeKey(section, key))
        return 1;
    return save(doc).ok ? 1 : 0;
}

} // namespace profile
