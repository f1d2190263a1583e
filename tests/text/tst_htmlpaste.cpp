// HTML from the clipboard as bracket markup: samples captured from real programs
// (htmlpaste/capture.sh) and one small fragment for each rule.
#include "text/HtmlToBBCode.h"

#include <QtTest>

namespace {

QString readSample(const QString& name) {
    QFile file(QFINDTESTDATA("htmlpaste") + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestHtmlPaste : public QObject {
    Q_OBJECT
private slots:
    // Black text and the normal size, which both programs write out, give no tags either way.
    void samples_data() {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<bool>("colors");
        for (const char* sample : {"chromium", "writer"})
            for (const bool colors : {false, true})
                QTest::addRow("%s/%d", sample, colors) << QString::fromLatin1(sample) << colors;
    }
    void samples() {
        QFETCH(QString, sample);
        QFETCH(bool, colors);
        const QString html = readSample(sample + QLatin1String(".html"));
        const QString expected = readSample(sample + QLatin1String(".bbcode")).trimmed();
        QVERIFY(!html.isEmpty() && !expected.isEmpty());
        // Chromium names the page it copied from (a file: address, so relative links drop).
        const QString base = readSample(sample + QLatin1String("-source-url.txt")).trimmed();
        QCOMPARE(htmlpaste::toBBCode(html, {colors}, base), expected);
    }

    void rules_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("colors");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("bbcode");
        const auto row = [](const char* name, const char* html, const char* bbcode,
                            bool colors = false, const char* base = "") {
            QTest::newRow(name) << QString::fromUtf8(html) << colors << QString::fromUtf8(base)
                                << QString::fromUtf8(bbcode);
        };
        row("bold", "<b>a</b> <strong>b</strong> <span style='font-weight:700'>c</span>",
            "[B]a b c[/B]");
        row("bold switched off", "<b>a<span style='font-weight:normal'>b</span>c</b>",
            "[B]a[/B]b[B]c[/B]");
        row("no doubled or empty pairs", "<b><strong>a</strong></b><i> </i><u></u>b", "[B]a[/B] b");
        row("italic underline strike",
            "<em>a</em><span style='font-style:oblique'>b</span><u>c</u>"
            "<span style='text-decoration:underline line-through'>d</span><del>e</del>",
            "[I]ab[/I][U]c[S]d[/S][/U][S]e[/S]");
        row("link", "<a href='https://x.de/a b'>Text</a>", "[URL=https://x.de/a%20b]Text[/URL]");
        row("link as its address", "<a href='http://x.de/'>http://x.de/</a>",
            "[URL]http://x.de/[/URL]");
        row("link with brackets", "<a href='http://x.de/?a[]=1'>x</a>",
            "[URL=http://x.de/?a%5B%5D=1]x[/URL]");
        row("mail", "<a href='mailto:a@b.de'>Anna</a> <a href='mailto:a@b.de?subject=x'>a@b.de</a>",
            "[EMAIL=a@b.de]Anna[/EMAIL] [EMAIL]a@b.de[/EMAIL]");
        row("relative link with base", "<a href='../f.html'>f</a>",
            "[URL=https://x.de/f.html]f[/URL]", false, "https://x.de/a/b.html");
        row("relative link without base", "<a href='../f.html'>f</a>", "f");
        row("javascript and other schemes",
            "<a href='javascript:alert(1)'>a</a> "
            "<a href='file:///etc/passwd'>b</a>",
            "a b");
        row("lists", "<ol><li>a<ul><li>b</li></ul></li><li>c</li></ol>d",
            "[LIST=1]\n[*]a\n[LIST]\n[*]b\n[/LIST]\n[*]c\n[/LIST]\n\nd");
        row("word lists",
            "<p class=MsoNormal>x</p>"
            "<p class=MsoListParagraphCxSpFirst style='mso-list:l0 level1 lfo1'>"
            "<![if !supportLists]><span style='font-family:Symbol'><span "
            "style='mso-list:Ignore'>·<span style='font:7.0pt'>&nbsp;</span></span></span>"
            "<![endif]>a</p>\n"
            "<p class=MsoListParagraphCxSpMiddle style='mso-list:l0 level2 lfo1'><span "
            "style='mso-list:Ignore'>1.<span>&nbsp;</span></span>b</p>\n"
            "<p class=MsoListParagraphCxSpLast style='mso-list:l0 level1 lfo1'><span "
            "style='mso-list:Ignore'>§</span>c</p><p class=MsoNormal>y</p>",
            "x\n\n[LIST]\n[*]a\n[LIST=1]\n[*]b\n[/LIST]\n[*]c\n[/LIST]\n\ny");
        row("word list in a quote",
            "<blockquote><p style='mso-list:l0 level1 lfo1'>a</p></blockquote>",
            "[QUOTE]\n[LIST]\n[*]a\n[/LIST][/QUOTE]");
        row("quote", "<p>a</p><blockquote>b</blockquote>c", "a\n\n[QUOTE]b[/QUOTE]\n\nc");
        row("quote with author",
            "<blockquote><div><cite>Anna hat geschrieben:</cite>b</div></blockquote>"
            "<blockquote cite='Max'>c</blockquote><blockquote cite='http://x.de'>d</blockquote>",
            "[QUOTE=\"Anna\"]b[/QUOTE]\n\n[QUOTE=\"Max\"]c[/QUOTE]\n\n[QUOTE]d[/QUOTE]");
        row("code", "<pre>a  <b>b</b>\n  c</pre><p>x <code>y  z</code></p>",
            "[CODE]a  b\n  c[/CODE]\n\nx y z");
        row("images",
            "<img src='http://x.de/a.png'><img src='data:image/png;base64,AAAA'>"
            "<img src='b.png'>",
            "[IMG]http://x.de/a.png[/IMG]");
        row("headings and paragraphs", "<h2>T</h2><p>a</p><p></p><div>b</div>c<br>d<br><br>e",
            "[B]T[/B]\n\na\n\nb\nc\nd\n\ne");
        row("table",
            "<table><tr><th>a</th><td><p>b</p></td></tr><tr><td>c</td><td></td></tr>"
            "</table>",
            "a | b\nc |");
        row("hidden and scripts",
            "<head><title>t</title><style>p{}</style></head><script>x()</script><!-- c -->"
            "<p hidden>h</p><p style='display: none'>n</p>a",
            "a");
        row("entities and white space", "  <p>  a &amp;&nbsp;&lt;b&gt; \n\t c  </p>  ",
            "a & <b> c");
        row("typography and emoji", "„a“ ‚b‘ – — … 😀", "„a“ ‚b‘ – — … 😀");
        row("text brackets stay", "[b]x[/b]", "[b]x[/b]");
        row("colours and sizes off", "<span style='color:red;font-size:24px'>a</span>", "a");
        row("colours and sizes",
            "<span style='color:rgb(255, 0, 0)'>a</span>"
            "<font color=navy size=7>b</font><span style='font-size:9pt'>c</span>"
            "<span style='color:#000;font-size:16px'>d</span><span style='font-size:1px'>e</span>",
            "[COLOR=#ff0000]a[/COLOR][COLOR=#000080][SIZE=200]b[/SIZE][/COLOR][SIZE=75]c[/SIZE]d"
            "[SIZE=50]e[/SIZE]",
            true);
    }
    void rules() {
        QFETCH(QString, html);
        QFETCH(bool, colors);
        QFETCH(QString, base);
        QFETCH(QString, bbcode);
        QCOMPARE(htmlpaste::toBBCode(html, {colors}, base), bbcode);
    }

    // Walked without recursion: Gumbo's own recursive clean-up is not used either.
    void deepNesting() {
        const int depth = 100'000;
        const QString html = QStringLiteral("<span>").repeated(depth) + QStringLiteral("x");
        QCOMPARE(htmlpaste::toBBCode(html), QStringLiteral("x"));
    }
};

QTEST_GUILESS_MAIN(TestHtmlPaste)
#include "tst_htmlpaste.moc"
