#pragma once
// Shared by the quote spacing test and its fuzz target, so that both hold one reference.
#include <QString>

// The routine as first written, splicing with 1-based positions, quadratic. strFormat must
// agree with it on every input, quirks included.
inline QString literalFormat(QString t) {
    const QString blank = QStringLiteral("\r\n\r\n");
    const auto collapse = [&](qsizetype q) { t = t.left(q - 1) + "\r\n" + t.mid(q + 3); };
    // Before opening tags: walk back over the blank-line pairs; a match among the first four
    // characters is left alone, and the search goes on one past the match's old position.
    for (qsizetype start = 1, p; (p = t.indexOf(blank + "[QUOTE]", start - 1) + 1) > 0;
         start = p + 1) {
        for (qsizetype q = p; p > 4 && q >= 1 && t.mid(q - 1, 4) == blank; q -= 2)
            collapse(q);
    }
    // After closing tags, searching from the start each time.
    for (qsizetype p; (p = t.indexOf("[/QUOTE]" + blank) + 1) > 0;) {
        while (t.mid(p + 7, 4) == blank)
            collapse(p + 8);
    }
    return t;
}
