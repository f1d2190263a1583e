#include "editor/ViewLines.h"

#include <algorithm>

namespace viewlines {

Lines linesIn(const QPointF& blockTop, const QTextLayout* layout, qreal top, qreal bottom) {
    Lines lines{-1, 0};
    // The first line reaching down to `top`: lines stand in order of height.
    int first = 0;
    for (int count = layout->lineCount(); count > 0;) {
        const int half = count / 2;
        const QTextLine line = layout->lineAt(first + half);
        if (blockTop.y() + line.y() + line.height() < top) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    for (int i = first; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const qreal y = blockTop.y() + line.y();
        if (y > bottom)
            break;
        if (y + line.height() < top)
            continue;
        if (lines.from < 0)
            lines.from = line.textStart();
        lines.to = line.textStart() + line.textLength();
    }
    lines.from = std::max<qsizetype>(lines.from, 0);
    return lines;
}

std::pair<qsizetype, qsizetype> rangeInView(const TextField& field) {
    qsizetype from = -1, to = -1;
    forEachBlockIn(field, 0, field.viewport()->height(),
                   [&](const QTextBlock& block, const QPointF&, const Lines& lines) {
                       if (from < 0)
                           from = block.position() + lines.from;
                       to = block.position() + lines.to;
                   });
    return {from, to};
}

} // namespace viewlines
