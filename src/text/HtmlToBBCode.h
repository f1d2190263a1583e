#pragma once
#include <QString>

// HTML from the clipboard (browsers, office programs) as bracket markup. Pure text logic, safe on
// any thread.
namespace htmlpaste {

struct Options {
    bool colorsAndSizes = false; // [COLOR=#rrggbb] and [SIZE=percent] only when asked for
};

// The clipboard's HTML (a whole document or a fragment, as browsers and office programs put it
// there) as bracket markup, line breaks as "\n". `baseUrl`: the page's address where the
// clipboard gives one; relative links and images are resolved against it, and without it dropped
// to their text. Linear in the input's length.
QString toBBCode(const QString& html, const Options& options = {}, const QString& baseUrl = {});

struct Conversion {
    QString text;
    qsizetype nodes = 0; // the parsed tree's nodes and text characters
    qsizetype steps = 0; // the walk's work, a small multiple of `nodes` when linear
};

// The same, with the work done, for the fuzz target and the benchmarks.
Conversion convert(const QString& html, const Options& options = {}, const QString& baseUrl = {});

} // namespace htmlpaste
