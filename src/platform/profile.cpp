#include "platform/profile.h"

namespace profile {

Loaded load(const QString& fileName) {
    const files::BytesResult read = files::readBytes(fileName);
    if (!read.ok && !read.missing)
        return Loaded{Document::fromBytes({}, fileName), false, read.reason};
    return Loaded{Document::fromBytes(read.bytes, fileName), true, QString()};
}

files::WriteResult save(const Document& document) {
    return files::writeFile(document.fileName(), document.bytes());
}

QString getString(const QString& section, const QString& key, const QString& fileName) {
    return load(fileName).document.value(section, key);
}

int writeString(const QString& section, const QString& key, const QString& value,
                const QString& fileName, const QString& saveAs) {
    Loaded loaded = load(fileName);
    Document& doc = loaded.document;
    // A file that cannot be read is never replaced by what little the write knows.
    if (!loaded.ok || !doc.setValue(section, key, value))
        return 0;
    if (!saveAs.isEmpty())
        doc.setFileName(saveAs);
    return save(doc).ok ? 1 : 0;
}

int deleteKey(const QString& section, const QString& key, const QString& fileName,
              const QString& saveAs) {
    Loaded loaded = load(fileName);
    if (!loaded.ok)
        return 0;
    Document& doc = loaded.document;
    if (!doc.removeKey(section, key))
        return 1;
    if (!saveAs.isEmpty())
        doc.setFileName(saveAs);
    return save(doc).ok ? 1 : 0;
}

} // namespace profile
