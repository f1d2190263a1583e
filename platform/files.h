#pragma once
#include <QByteArray>
#include <QString>

// Text files named relative to the working folder.
namespace files {

struct WriteResult {
    bool ok = false;
    QString reason; // German, for the user; empty when ok
};

// Writes text followed by CR LF as UTF-8 and replaces the file atomically: a temporary file in
// the same folder is written, flushed to disk and renamed over the old one, so a crash or a
// full disk never leaves a torn file in place of the last good one. An existing file keeps its
// permissions.
WriteResult writeTextFile(const QString& fileName, const QString& text);

// The same atomic replacement for bytes as they are.
WriteResult writeFile(const QString& fileName, const QByteArray& bytes);

// Appends `line` and CR LF to a file, created if missing, in one write followed by fsync: the
// file never holds less than before or half a line. A file that does not end in a line break
// gets one first, in the same write.
WriteResult appendLine(const QString& fileName, const QByteArray& line);

struct ReadResult {
    bool ok = false;
    bool missing = false; // no file of that name at all
    QString text;
    QString reason; // German, for the user; empty when ok
};

// A whole regular file's bytes. A pipe, a device or a folder of that name counts as
// unreadable: reading it could block or never end.
struct BytesResult {
    bool ok = false;
    bool missing = false;
    QByteArray bytes;
    QString reason;
};
BytesResult readBytes(const QString& fileName);

// A whole text file, decoded as textcodec::decodeText does. Nothing else is converted.
ReadResult readTextFile(const QString& fileName);

// Removes the temporary files that writes of this program left in the folder when the process
// writing them was killed: only its own names, and only those of processes that have ended.
// Returns how many were removed.
int removeLeftovers(const QString& folder);

} // namespace files
