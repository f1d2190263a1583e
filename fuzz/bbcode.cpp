// The bracket-markup parser and writers: whatever the post, both writers give HTML of their own
// tags only, every element closed in order, and the parse's work stays linear in the length.
#include "text/BBCode.h"

#include "tests/HtmlCheck.h"

#include "FuzzCheck.h"

namespace {

void checkHtml(const QString& html) {
    const QString problem = htmlProblem(html);
    if (!problem.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    FUZZ_CHECK(problem.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString post = QString::fromUtf8(fuzzBytes(data, size));
    static const QStringList smileys{QStringLiteral(":lach:"), QStringLiteral(":-)"),
                                     QStringLiteral(":-))"), QStringLiteral(";)")};
    const bbcode::Tree tree = bbcode::parse(post, smileys);
    // Each character is looked at a few times: by the main loop, a tag's name, a smiley's
    // codes, one search for each kind of end.
    FUZZ_CHECK(tree.steps <= 24 * (post.size() + 1));
    checkHtml(bbcode::forumHtml(tree));

    bbcode::PreviewOptions options;
    for (qint32 i = 0; i < tree.nodes.size(); ++i)
        if (tree.nodes[i].element == bbcode::Element::Spoiler && i % 2 == 0)
            options.openSpoilers.append(i);
    checkHtml(bbcode::previewHtml(tree, options));
    return 0;
}
