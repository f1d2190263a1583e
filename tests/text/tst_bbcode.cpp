// The bracket-markup parser and its two HTML writers on hand-written posts.
#include "text/BBCode.h"

#include "HtmlCheck.h"

#include <QtTest>

namespace {

const QStringList kSmileys{QStringLiteral(":lach:"), QStringLiteral(":-)"), QStringLiteral(":-))")};

// Short forms for the writer's longer tags in the expected HTML.
QString expand(const char* shorthand) {
    static const std::pair<const char*, const char*> forms[] = {
        {"{b}", "<strong class=\"text-strong\">"},
        {"{/b}", "</strong>"},
        {"{i}", "<em class=\"text-italics\">"},
        {"{/i}", "</em>"},
        {"{q}", "<blockquote class=\"uncited\"><div>"},
        {"{/q}", "</div></blockquote>"},
        {"{code}", "<div class=\"codebox\"><p>Code:</p><pre><code>"},
        {"{/code}", "</code></pre></div>"},
        {"{a ", "<a class=\"postlink\" href=\""},
        {"{box}", "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"6\" border=\"1\" "
                  "style=\"border-color:#b0b0b0\"><tr><td>"},
        {"{/box}", "</td></tr></table>"}};
    QString out = QString::fromUtf8(shorthand);
    for (const auto& [form, html] : forms)
        out.replace(QLatin1String(form), QLatin1String(html));
    // "{a URL}" is a post link: the class follows the address.
    static const QRegularExpression link(QStringLiteral("<a class=\"postlink\" href=\"([^}]*)\\}"));
    out.replace(link, QStringLiteral("<a href=\"\\1\" class=\"postlink\">"));
    return out;
}

void addRows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    for (const auto& [post, html] : rows)
        QTest::newRow(post) << QString::fromUtf8(post) << expand(html);
}

} // namespace

class TestBBCode : public QObject {
    Q_OBJECT
private slots:
    void forumHtml_data() {
        QTest::addColumn<QString>("post");
        QTest::addColumn<QString>("html");
        addRows({
            {"a[b]b[/b]c", "a{b}b{/b}c"},
            {"[i]x[/i][s]y[/s]", "{i}x{/i}<s>y</s>"},
            {"[u]x[/u]", "<span style=\"text-decoration:underline\">x</span>"},
            {"[color=Red]x[/color]", "<span style=\"color:red\">x</span>"},
            {"[color=#FF0000]x[/color]", "<span style=\"color:#ff0000\">x</span>"},
            {"[color=#f0a]x[/color]", "<span style=\"color:#f0a\">x</span>"},
            {"[color=#ff00]x[/color]", "[color=#ff00]x[/color]"},
            {"[color=re d]x[/color]", "[color=re d]x[/color]"},
            {"[color]x[/color]", "[color]x[/color]"},
            {"[size=150]x[/size]", "<span style=\"font-size:150%;line-height:116%\">x</span>"},
            {"[size=49]x[/size][size=201]y[/size]", "[size=49]x[/size][size=201]y[/size]"},
            {"[size=1.5]x[/size]", "[size=1.5]x[/size]"},
            {"[center]x[/center]", "<div style=\"text-align:center\">x</div>"},
            {"[left]x[/left][right]y[/right]",
             "<div style=\"text-align:left\">x</div><div style=\"text-align:right\">y</div>"},
            {"[quote]x[/quote]", "{q}x{/q}"},
            {"[quote=\"Anna\"]x[/quote]",
             "<blockquote><div><cite>Anna hat geschrieben:</cite>x</div></blockquote>"},
            {"[quote=Anna]x[/quote]",
             "<blockquote><div><cite>Anna hat geschrieben:</cite>x</div></blockquote>"},
            {"[quote][quote=B]x[/quote]y[/quote]",
             "{q}<blockquote><div><cite>B hat geschrieben:</cite>x</div></blockquote>y{/q}"},
            {"[url=https://x.de/?a=1&b=2]x[/url]", "{a https://x.de/?a=1&amp;b=2}x</a>"},
            {"[url]www.x.de[/url]", "{a http://www.x.de}www.x.de</a>"},
            {"[URL=FTP://x.de]f[/URL]", "{a FTP://x.de}f</a>"},
            {"[url=x.de]a[/url]", "[url=x.de]a[/url]"},
            {"[url][b]http://x.de[/b][/url]", "[url]{b}{a http://x.de}http://x.de</a>{/b}[/url]"},
            {"[url=http://a.de]x [b]y[/url] z", "{a http://a.de}x {b}y{/b}</a>{b} z{/b}"},
            {"[email]a@b.de[/email]", "<a href=\"mailto:a@b.de\">a@b.de</a>"},
            {"[email=a@b.de]Anna[/email]", "<a href=\"mailto:a@b.de\">Anna</a>"},
            {"[email=a@bde]x[/email]", "[email=a@bde]x[/email]"},
            {"[img]https://x.de/a.png[/img]",
             "<img src=\"https://x.de/a.png\" class=\"postimage\" alt=\"Bild\">"},
            {"[img]a.png[/img]", "[img]a.png[/img]"},
            {"[spoiler]x[/spoiler]",
             "<details class=\"spoiler\"><summary>Spoiler</summary>x</details>"},
            {"[spoiler=\"Ende\"]x[/spoiler]",
             "<details class=\"spoiler\"><summary>Ende</summary>x</details>"},
            {"[list][*]a[*]b[/list]", "<ul><li>a</li><li>b</li></ul>"},
            {"[list=1][*]a[/list]", "<ol style=\"list-style-type:decimal\"><li>a</li></ol>"},
            {"[list=a][*]a[/list]", "<ol style=\"list-style-type:lower-alpha\"><li>a</li></ol>"},
            {"[list=A][*]a[/list]", "<ol style=\"list-style-type:upper-alpha\"><li>a</li></ol>"},
            {"[list=i][*]a[/list]", "<ol style=\"list-style-type:lower-roman\"><li>a</li></ol>"},
            {"[list=I][*]a[/list]", "<ol style=\"list-style-type:upper-roman\"><li>a</li></ol>"},
            {"[list=x][*]a[/list]", "[list=x][*]a[/list]"},
            {"[list]\n[*]a\n[*]b\n[/list]\nc", "<ul><li>a</li><li>b</li></ul>c"},
            {"[list] x[*]y[/list]", "<ul><li>x</li><li>y</li></ul>"},
            {"[list][*]a[/*] [*]b[/*][/list]", "<ul><li>a</li><li>b</li></ul>"},
            {"[list]\n[*]a\n\n[*]b", "<ul><li>a<br></li><li>b</li></ul>"},
            {"[list][*]a[list=a][*]b[/list][*]c[/list]",
             "<ul><li>a<ol "
             "style=\"list-style-type:lower-alpha\"><li>b</li></ol></li><li>c</li></ul>"},
            {"[*]a", "[*]a"},
            {"[code]\n[b]x[/b] :lach: http://x.de\n[/code]\ny",
             "{code}[b]x[/b] :lach: http://x.de{/code}y"},
            {"[code]a\r\nb<[/CODE]", "{code}a\nb&lt;{/code}"},
            {"[code]x", "{code}x{/code}"},
            {"a :lach: b:-)", "a <span class=\"smiley\" title=\":lach:\">:lach:</span> b"
                              "<span class=\"smiley\" title=\":-)\">:-)</span>"},
            {"x:-))", "x<span class=\"smiley\" title=\":-))\">:-))</span>"},
            {"a\nb\r\nc\rd\u2029e", "a<br>b<br>c<br>d<br>e"},
            {"[quote]\nx\n[/quote]\ny", "{q}x{/q}y"},
            {"a\n[quote]x[/quote]\n\ny", "a<br>{q}x{/q}<br>y"},
            {"[center]\n\nx\n\n[/center]", "<div style=\"text-align:center\"><br>x<br></div>"},
            {"[b]x", "{b}x{/b}"},
            {"x[/b]", "x[/b]"},
            {"[b][i]x[/b]y[/i]", "{b}{i}x{/i}{/b}{i}y{/i}"},
            {"[b][i]x[/b][/i]", "{b}{i}x{/i}{/b}"},
            {"[quote][b]x[/quote]y", "{q}{b}x{/b}{/q}{b}y{/b}"},
            {"[b][quote]x[/b]y[/quote]", "{b}{q}x{/q}{/b}y[/quote]"},
            {"[B]x[/b][Quote]y[/qUoTe]", "{b}x{/b}{q}y{/q}"},
            {"Siehe http://x.de/a.", "Siehe {a http://x.de/a}http://x.de/a</a>."},
            {"(see www.x.de/w_(a)), ok!", "(see {a http://www.x.de/w_(a)}www.x.de/w_(a)</a>), ok!"},
            {"xhttp://x.de HTTPS://X.DE", "xhttp://x.de {a HTTPS://X.DE}HTTPS://X.DE</a>"},
            {"a [ b ] [] [/] [[b]]", "a [ b ] [] [/] [{b}]{/b}"},
            {"[foo]x[/foo] [font=Arial]y[/font]", "[foo]x[/foo] [font=Arial]y[/font]"},
            {"[b=1]x[/b]", "[b=1]x[/b]"},
            {"[b\n]x", "[b<br>]x"},
            {"a & b < c > \"d\" 'e'", "a &amp; b &lt; c &gt; &quot;d&quot; &#039;e&#039;"},
        });
    }
    void forumHtml() {
        QFETCH(QString, post);
        QFETCH(QString, html);
        const QString written = bbcode::forumHtml(bbcode::parse(post, kSmileys));
        QCOMPARE(written, html);
        QCOMPARE(htmlProblem(written), QString());
    }

    // Hostile posts: all stays text, escaped.
    void hostile_data() {
        QTest::addColumn<QString>("post");
        QTest::addColumn<QString>("html");
        addRows({
            {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
            {"[url=javascript:alert(1)]x[/url]", "[url=javascript:alert(1)]x[/url]"},
            {"[url=JaVaScRiPt:x]x[/url]", "[url=JaVaScRiPt:x]x[/url]"},
            {"[url=java&#115;cript:x]x[/url]", "[url=java&amp;#115;cript:x]x[/url]"},
            {"[url= javascript:x]x[/url]", "[url= javascript:x]x[/url]"},
            {"[url=http://x.de/\tx]y[/url]", "[url={a http://x.de/}http://x.de/</a>\tx]y[/url]"},
            {"[url=http://x.de/\x01]y[/url]", "[url=http://x.de/\x01]y[/url]"},
            {"[url=http://x.de\" onmouseover=\"x]y[/url]",
             "[url={a http://x.de}http://x.de</a>&quot; onmouseover=&quot;x]y[/url]"},
            {"[url]data:text/html,<script>[/url]", "[url]data:text/html,&lt;script&gt;[/url]"},
            {"[url=//evil.de]x[/url]", "[url=//evil.de]x[/url]"},
            {"[img]vbscript:x[/img]", "[img]vbscript:x[/img]"},
            {"[img]http://x.de/a.png\" onerror=\"x[/img]",
             "[img]{a http://x.de/a.png}http://x.de/a.png</a>&quot; onerror=&quot;x[/img]"},
            {"[color=red;background:url(x)]x[/color]", "[color=red;background:url(x)]x[/color]"},
            {"[color=red\" onmouseover=\"x]y[/color]",
             "[color=red&quot; onmouseover=&quot;x]y[/color]"},
            {"[size=100\" onclick=x]y", "[size=100&quot; onclick=x]y"},
            {"[email=a@b.de\" onmouseover=\"x]y[/email]",
             "[email=a@b.de&quot; onmouseover=&quot;x]y[/email]"},
            {"[list=1\"][*]x[/list]", "[list=1&quot;][*]x[/list]"},
            {"[quote=\"><script>x</script>]y[/quote]",
             "<blockquote><div><cite>&quot;&gt;&lt;script&gt;x&lt;/script&gt; hat "
             "geschrieben:</cite>y</div></blockquote>"},
            {"[spoiler=<img src=x onerror=y>]z[/spoiler]",
             "<details class=\"spoiler\"><summary>&lt;img src=x "
             "onerror=y&gt;</summary>z</details>"},
            {"[url=http://x.de/[b]]y[/url]", "{a http://x.de/[b}]y</a>"},
            {"http://x.de/\"onmouseover=\"x",
             "{a http://x.de/}http://x.de/</a>&quot;onmouseover=&quot;x"},
        });
    }
    void hostile() { forumHtml(); }

    void deepNesting() {
        const QString post = QStringLiteral("[quote]").repeated(10'000) + QStringLiteral("x");
        const QString html = bbcode::forumHtml(bbcode::parse(post));
        QCOMPARE(html.count(QLatin1String("<blockquote")), 10'000);
        QCOMPARE(htmlProblem(html), QString());
        QCOMPARE(htmlProblem(bbcode::previewHtml(bbcode::parse(post))), QString());
    }

    void previewHtml_data() {
        QTest::addColumn<QString>("post");
        QTest::addColumn<QList<qint32>>("openSpoilers");
        QTest::addColumn<QString>("html");
        const auto row = [](const char* post, const QList<qint32>& open, const char* html) {
            QTest::newRow(post) << QString::fromUtf8(post) << open << expand(html);
        };
        row("[quote]x[/quote]", {}, "{box}<div><b>Zitat</b></div>x{/box}");
        row("[quote=Anna]x[/quote]", {}, "{box}<div><b>Anna hat geschrieben:</b></div>x{/box}");
        row("[code]a<[/code]", {}, "{box}<b>Code:</b><pre>a&lt;</pre>{/box}");
        row("[spoiler]x[/spoiler]", {},
            "<div><b>Spoiler</b> <a href=\"spoiler:1\">anzeigen</a></div>");
        row("[spoiler=T]x[/spoiler]", {1},
            "<div><b>T</b> <a href=\"spoiler:1\">verbergen</a></div>{box}x{/box}");
        row("a\nb\r\n[quote]\nc", {},
            "a<br><a name=\"line-1\"></a>b<br><a "
            "name=\"line-2\"></a>{box}<div><b>Zitat</b></div>c{/box}");
        row("[size=200]x[/size]", {}, "<span style=\"font-size:18pt\">x</span>");
        row("[img]http://x.de/a.png[/img]", {},
            "<table cellspacing=\"0\" cellpadding=\"4\" border=\"1\"><tr><td>Bild: "
            "http://x.de/a.png{/box}");
    }
    void previewHtml() {
        QFETCH(QString, post);
        QFETCH(QList<qint32>, openSpoilers);
        QFETCH(QString, html);
        const QString written = bbcode::previewHtml(bbcode::parse(post), {9, openSpoilers});
        QCOMPARE(written, html);
        QCOMPARE(htmlProblem(written), QString());
    }

    void openable_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("openable");
        for (const char* yes : {"http://x.de", "HTTPS://x.de", "ftp://x.de", "MailTo:a@b.de"})
            QTest::newRow(yes) << QString::fromLatin1(yes) << true;
        for (const char* no : {"javascript:x", "JavaScript:x", "data:text/html,x", "spoiler:3", "",
                               " http://x.de", "file:///etc/passwd", "http://x.de/\nx"})
            QTest::newRow(no) << QString::fromLatin1(no) << false;
    }
    void openable() {
        QFETCH(QString, address);
        QFETCH(bool, openable);
        QCOMPARE(bbcode::openable(address), openable);
    }
};

QTEST_APPLESS_MAIN(TestBBCode)
#include "tst_bbcode.moc"
