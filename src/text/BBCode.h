#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Bracket markup as a phpBB 3.3 board reads it: one pass over the post builds a tree, and the
// tree is written as HTML, either as the board emits it or for the preview's rich text.
// Pure text logic, safe on any thread.
namespace bbcode {

enum class Element : quint8 {
    Root,
    Text,  // `value`: the text as written (escaped only when written out)
    Break, // a line break shown as one; `value`: the number of the line it begins, as digits
    Bold,
    Italic,
    Underline,
    Strike,
    Color, // `value`: a checked colour: a name in lower case, or "#rrggbb" / "#rgb" in lower case
    Size,  // `value`: the percent, 50..200, as digits
    Center,
    Left,
    Right,
    Quote, // `value`: the author, or empty
    Link, // `value`: the checked address ("www." gets "http://"); [URL], [URL=…] and bare addresses
    Email, // `value`: the checked address, without "mailto:"
    List,  // `value`: "", "1", "a", "A", "i" or "I"
    Item,
    Code,    // its one child is the Text as written, nothing inside parsed
    Image,   // `value`: the checked address; no children
    Spoiler, // `value`: the title, or empty
    Smiley,  // `value`: the code as it stands in the post, such as ":lach:"
};

// The tree in one array, nodes[0] the root; children are linked, so that writing it out needs
// no recursion (10,000 nested quotes must not overflow the stack).
struct Node {
    Element element = Element::Root;
    qint32 parent = -1;
    qint32 firstChild = -1;
    qint32 lastChild = -1;
    qint32 next = -1; // the next sibling
    // Where the node begins in the post (a tag's '[', a text's first character).
    qsizetype start = 0;
    QString value;
};

} // namespace bbcode

Q_DECLARE_TYPEINFO(bbcode::Node, Q_RELOCATABLE_TYPE);

namespace bbcode {

struct Tree {
    QList<Node> nodes;
    qsizetype steps = 0; // the parse's work, a little above the post's length when linear
};

// `smileys`: the smiley codes as they stand in a post, ":lach:" (each code of the SMILIES list
// framed by colons). Linear in the post's length.
Tree parse(QStringView post, const QStringList& smileys = {});

// The post as a phpBB 3.3 board emits it (see the table in the tests).
QString forumHtml(const Tree& tree);

struct PreviewOptions {
    double basePointSize = 9;   // sizes in points: percent × base / 100
    QList<qint32> openSpoilers; // node indices of the spoilers shown open
};

// The post in the subset of HTML that Qt's rich text shows: quotes and code as one-cell tables
// with their header ("Zitat", "Anna hat geschrieben:", "Code:"), a spoiler as a link
// "spoiler:<node index>" that toggles it, images as framed placeholders with their address,
// smileys marked. An anchor <a name="line-N"></a> stands where line N of the post (from 0)
// begins, for each line break that is shown, so that the preview can show the caret's part.
QString previewHtml(const Tree& tree, const PreviewOptions& options = {});

// The address a link of the preview may open: http, https, ftp and mailto only.
bool openable(const QString& address);

} // namespace bbcode
