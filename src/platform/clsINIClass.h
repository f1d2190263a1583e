#pragma once
#include <QString>

// Reads and writes single keys of a settings file.
// Without a file name a call uses the program's own settings file (read from defaultPath,
// written to prepareWrite's place), without a section "GENERAL". Every call reads or writes
// the file afresh.
class clsINIClass {
public:
    clsINIClass();

    QString strDefaultFileName() const { return m_defaultFileName; }
    void setStrDefaultFileName(const QString& strLetDefaultFileName) {
        m_defaultFileName = strLetDefaultFileName;
        m_ownDefaultFile = true;
    }
    QString strDefaultSection() const { return m_defaultSection; }
    void setStrDefaultSection(const QString& strLetDefaultSection) {
        m_defaultSection = strLetDefaultSection;
    }

    // The value, or "" for a missing file, section or key; at most 254 characters.
    QString strGetKeyValue(const QString& strKey, const QString& strSection = QString(),
                           const QString& strFilename = QString()) const;
    // 1 on success, 0 on a failed write, -1 (nothing written) for a value over 255 characters.
    int lngWriteKey(const QString& strKey, const QString& strValue,
                    const QString& strSection = QString(),
                    const QString& strFilename = QString()) const;
    int lngDeleteKey(const QString& strKey, const QString& strSection,
                     const QString& strFilename = QString()) const;

    // Longest value lngWriteKey takes.
    static constexpr int kMaxWrite = 255;

private:
    QString fileOrDefault(const QString& strFilename) const;
    // The file a write goes to: the program's own settings file is written in its write place.
    QString writeFileOrDefault(const QString& strFilename) const;
    QString sectionOrDefault(const QString& strSection) const;

    QString m_defaultFileName;
    bool m_ownDefaultFile = false; // set by the caller, not the program's settings file
    QString m_defaultSection;
};

namespace settingsfile {

// "<program folder>/<program name>.ini".
QString besideProgram();
// The same name in the user's configuration folder.
QString userFile();

// Where the settings are read from: the file beside the program where that folder can be
// written; else the user's own file if there is one, else the file beside the (installed)
// program, which then serves as the starter file.
QString defaultPath();

// Where the settings are to be written: beside a writable program, else the user's own file,
// whose folder is made here. Writing beside an installed program would silently lose every
// setting. What is written there is the document read from defaultPath() with its keys
// changed, so the first write carries the starter file's other sections (the smilies) along.
struct WritePlace {
    bool ok = false;
    QString path;
    QString reason; // German, when the user's folder or file cannot be made
};
WritePlace prepareWrite();

// Tests point the program folder elsewhere; an empty string returns to the real one.
void setProgramFolderForTests(const QString& folder);

} // namespace settingsfile
