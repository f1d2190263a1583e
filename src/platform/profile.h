#pragma once
#include "platform/files.h"
#include "text/ProfileDocument.h"

// Settings files on disk, read and written whole; every write replaces the file atomically.
namespace profile {

struct Loaded {
    Document document;
    bool ok = true; // false: the file exists but cannot be read; the document is empty
    QString reason;
};

// The document of a file; a missing file is an empty document.
Loaded load(const QString& fileName);

// Writes the document's file atomically. Creates it when its folder exists, never the folder.
files::WriteResult save(const Document& document);

// One complete file access per call, like GetPrivateProfileString / WritePrivateProfileString.
QString getString(const QString& section, const QString& key, const QString& fileName);
// 1 on success, 0 on failure (also for CR or LF in section, key or value). The changed file is
// saved as `saveAs` when given (a copy with the change), else in its place.
int writeString(const QString& section, const QString& key, const QString& value,
                const QString& fileName, const QString& saveAs = QString());
// Deletes the key; 1 on success (also when there was nothing to delete), 0 on a failed write.
int deleteKey(const QString& section, const QString& key, const QString& fileName,
              const QString& saveAs = QString());

} // namespace profile
