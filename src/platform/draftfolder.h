#pragma once
#include "text/Drafts.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The folder of drafts in the user's data folder, and what is in it.
namespace draftfolder {

// $XDG_DATA_HOME/Beitragsbox/drafts.
QString path();

// The process still runs and started no later than `start`: a process that got the number of
// an ended one later is another program.
bool runningSince(qint64 pid, const QDateTime& start);

// The drafts in the folder: regular files with a draft's name, nothing else.
QList<drafts::Draft> list(const QString& folder);

// Removes what the retention rules give up and the temporary files of ended writes. Returns
// how many drafts were removed.
int tidy(const QString& folder, const QDateTime& now);

// What a list of drafts shows of one, read from the file's start only.
struct Head {
    bool ok = false;
    QString firstLine;
    qint64 characters = -1; // unknown where the file goes on beyond its head
    QString reason;         // German, when not ok
};
Head readHead(const QString& file);

// The characters of the whole file, for a row whose head did not hold them all; -1 when the
// file cannot be read.
qint64 countCharacters(const QString& file);

} // namespace draftfolder
