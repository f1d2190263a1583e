#pragma once
#include "editor/TextField.h"

#include <QPointF>
#include <QTextBlock>
#include <QTextLayout>

#include <utility>

// Which lines of the edit field lie in view: the writing aids check, mark and repaint only
// those.
namespace viewlines {

// A text range of one block's lines.
struct Lines {
    qsizetype from = 0;
    qsizetype to = 0;
};

// The text range of a block's lines that lie between two heights of the viewport.
Lines linesIn(const QPointF& blockTop, const QTextLayout* layout, qreal top, qreal bottom);

// Calls visit(block, topLeft, lines) for each laid-out block with lines between two heights of
// the viewport; `lines` is the text range of those lines.
template <typename Visit>
void forEachBlockIn(const TextField& field, int top, int bottom, Visit&& visit) {
    for (QTextBlock block = field.firstVisibleTextBlock(); block.isValid(); block = block.next()) {
        const QPointF topLeft = field.blockTopLeft(block);
        if (topLeft.y() > bottom)
            break;
        const QTextLayout* layout = block.layout();
        if (!block.isVisible() || !layout || layout->lineCount() == 0 ||
            topLeft.y() + layout->boundingRect().bottom() < top)
            continue;
        visit(block, topLeft, linesIn(topLeft, layout, top, bottom));
    }
}

// The document range of the lines in view; (-1, -1) when none is.
std::pair<qsizetype, qsizetype> rangeInView(const TextField& field);

} // namespace viewlines
