#pragma once

class QRect;
class QWidget;
class SpellingMarks;
class TagMarks;
class TextField;

// Draws the writing aids' marks over the edit field's text: a red wave under misspelt words, an
// orange dotted line under tags out of balance.
namespace markpainter {

// The height of the wave below the text's base line.
constexpr int kWaveHeight = 3;

// Paints the marks of the lines in `rect` of the viewport; either kind may be left out
// (nullptr).
void paint(const TextField& field, QWidget* viewport, const QRect& rect,
           const SpellingMarks* spelling, const TagMarks* tags);

} // namespace markpainter
