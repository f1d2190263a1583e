#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>

// Profile files ("[section]" headers, "key=value" lines) with the behaviour of the Windows
// profile functions: names match without regard to case, blanks around names and values and
// one pair of quotes around a value are dropped, ";" starts a comment, the first section and
// the first key of a name win, CR LF, LF and CR line ends are read. A change keeps every other
// byte of the file.
namespace profile {

// Longest value a read gives back, as the Windows call with its 255-character buffer.
constexpr int kMaxRead = 254;

class Document {
public:
    static Document fromBytes(const QByteArray& bytes, const QString& fileName = QString());

    // "" for a missing section or key; at most kMaxRead characters.
    QString value(const QString& section, const QString& key) const;

    // Every key of the section with the value a read gives, by case-folded name (the first key
    // of a name wins). One pass, for reading many keys of a large file.
    QHash<QString, QString> values(const QString& section) const;

    // Replaces the value (only that line changes; the key keeps its spelling on disk), or adds
    // the key after the last key line of its section, or adds the section at the end. False,
    // and nothing changed, for a section, key or value containing CR or LF.
    bool setValue(const QString& section, const QString& key, const QString& value);

    // Removes the key's line; the section header stays. False when there was no such key.
    bool removeKey(const QString& section, const QString& key);

    // The file's bytes as they are to be saved.
    QByteArray bytes() const;

    QString fileName() const { return m_fileName; }
    // Where the document is to be saved.
    void setFileName(const QString& fileName) { m_fileName = fileName; }

private:
    QString m_fileName;
    QString m_text;     // decoded content
    bool m_utf8 = true; // false: the file was read as Windows-1252 and is written back so
    bool m_bom = false; // the UTF-8 byte-order mark the file started with
};

} // namespace profile
