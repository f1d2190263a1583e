#pragma once
#include <QByteArray>
#include <QString>

// Text files named relative to the working folder.
namespace files {

// Holds the folder the program started in open for the run; names without a folder are
// opened in it from then on, even after the process's folder changed or was removed.
void holdWorkingFolder();

// Drops XDG folder variables that do not hold an absolute path, as the XDG rule says.
void ignoreRelativeXdgPaths();

// Makes the folder (and its parents) and keeps it private to the user (0700).
bool makePrivateFolder(const QString& folder);

// Larger than any text a user wrote: quick texts and help files above it are not read.
constexpr qint64 kMaxUserText = 16 * 1024 * 1024;

struct WriteResult {
    bool ok = false;
    QString reason; // German, for the user; empty when ok
};

// Writes text followed by CR LF as UTF-8 and replaces the file atomically: a temporary file in
// the same folder is written, flushed to disk and renamed over the old one, so a crash or a
// full disk never leaves a torn file in place of the last good one. An existing file keeps its
// permissions; what the program keeps for the user in its configuration and data folders is
// private (0600). Symbolic links are followed only where the kernel's protected-symlinks rule
// would follow them.
WriteResult writeTextFile(const QString& fileName, const QString& text);

// The same atomic replacement for bytes as they are.
WriteResult writeFile(const QString& fileName, const QByteArray& bytes);

// Appends `line` and CR LF to a file, created if missing, in one write followed by fsync: the
// file never holds less than before or half a line. A file that does not end in a line break
// gets one first, in the same write.
WriteResult appendLine(const QString& fileName, const QByteArray& line);

struct ReadResult {
    bool ok = false;
    bool missing = false;  // no file of that name at all
    bool tooLarge = false; // above the size asked for
    QString text;
    QString reason; // German, for the user; empty when ok
};

// A whole regular file's bytes. A pipe, a device or a folder of that name counts as
// unreadable: reading it could block or never end.
struct BytesResult {
    bool ok = false;
    bool missing = false;
    bool tooLarge = false;
    QByteArray bytes;
    QString reason;
};
BytesResult readBytes(const QString& fileName, qint64 maxBytes = -1);
// The first headBytes bytes of a regular file, or all of a smaller one; tooLarge tells that
// the file goes on.
BytesResult readHead(const QString& fileName, qint64 headBytes);

// A whole text file, decoded as textcodec::decodeText does. Nothing else is converted. A file
// above maxBytes (when not negative) is not read.
ReadResult readTextFile(const QString& fileName, qint64 maxBytes = -1);

// Removes a file (not a folder); the reason in German when it cannot.
WriteResult removeFile(const QString& fileName);

// Removes the temporary files that writes of this program left in the folder when the process
// writing them was killed: only its own names, and only those of processes that have ended.
// Returns how many were removed.
int removeLeftovers(const QString& folder);

} // namespace files
