#include "editor/MarkPainter.h"

#include "editor/SpellingMarks.h"
#include "editor/TagMarks.h"
#include "editor/TextField.h"
#include "editor/ViewLines.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace markpainter {

namespace {

enum class Line { Wave, Dots };

// One period of the red wave: down and up over four pixels.
const QPixmap& waveTile() {
    static const QPixmap tile = [] {
        QImage image(4, kWaveHeight, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        const QRgb red = qRgb(255, 0, 0);
        image.setPixel(0, 0, red);
        image.setPixel(1, 1, red);
        image.setPixel(2, 2, red);
        image.setPixel(3, 1, red);
        return QPixmap::fromImage(image);
    }();
    return tile;
}

// Underlines the characters [start, start + length) of a block, on those of its lines that lie
// in the painted rectangle.
void underline(QPainter& painter, const QPointF& blockTop, const QTextLayout* layout,
               const QRect& rect, qsizetype start, qsizetype length, Line style) {
    const qsizetype end = start + length;
    for (int i = layout->lineForTextPosition(int(start)).lineNumber();
         i >= 0 && i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (line.textStart() >= end)
            break;
        const qreal top = blockTop.y() + line.y();
        if (top > rect.bottom() || top + line.height() < rect.top())
            continue;
        const qsizetype from = std::max<qsizetype>(start, line.textStart());
        const qsizetype to = std::min<qsizetype>(end, line.textStart() + line.textLength());
        if (from >= to)
            continue;
        const int x1 = qRound(blockTop.x() + line.cursorToX(int(from)));
        const int x2 = qRound(blockTop.x() + line.cursorToX(int(to)));
        const int y = qRound(top + std::min(line.ascent() + 2, line.height() - 2));
        if (style == Line::Dots) {
            static const QPen dots(QColor(255, 140, 0), 2, Qt::DotLine);
            painter.setPen(dots);
            painter.drawLine(x1, y, x2, y);
            continue;
        }
        // The usual wavy spelling line, blitted from one tile of the wave: far cheaper than
        // stroking a zigzag for each word on every repaint.
        painter.drawTiledPixmap(QRect(x1, y, std::max(x2 - x1, 2), kWaveHeight), waveTile());
    }
}

} // namespace

void paint(const TextField& field, QWidget* viewport, const QRect& rect,
           const SpellingMarks* spelling, const TagMarks* tags) {
    if (tags && tags->marks().isEmpty())
        tags = nullptr;
    if (!spelling && !tags)
        return;
    // Most repaints have nothing to underline: the painter is only made for the first mark.
    std::optional<QPainter> open;
    const auto painter = [&]() -> QPainter& {
        if (!open)
            open.emplace(viewport);
        return *open;
    };
    viewlines::forEachBlockIn(
        field, rect.top(), rect.bottom(),
        [&](const QTextBlock& block, const QPointF& top, const viewlines::Lines& lines) {
            const QTextLayout* layout = block.layout();
            if (spelling) {
                // Const: the list is shared with the block's, and is not to be copied.
                const QList<SpellingMarks::Span> words =
                    spelling->misspelt(block, lines.from, lines.to);
                for (const SpellingMarks::Span& word : words)
                    underline(painter(), top, layout, rect, word.start, word.length, Line::Wave);
            }
            if (!tags)
                return;
            const qsizetype begin = block.position();
            const qsizetype end = begin + block.length();
            for (auto mark = tags->firstReaching(begin + 1);
                 mark != tags->marks().cend() && mark->start < end; ++mark)
                underline(painter(), top, layout, rect, mark->start - begin, mark->length,
                          Line::Dots);
        });
}

} // namespace markpainter
