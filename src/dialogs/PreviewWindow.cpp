#include "dialogs/PreviewWindow.h"

#include "text/BBCode.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

namespace {

// The lines of the post where the preview has an anchor, in order.
QList<int> anchorLines(const QString& html, int firstLine) {
    static const QRegularExpression anchor(QStringLiteral("<a name=\"line-(\\d+)\">"));
    QList<int> lines;
    for (auto it = anchor.globalMatch(html); it.hasNext();)
        lines << firstLine + it.next().captured(1).toInt();
    return lines;
}

} // namespace

PreviewWindow::PreviewWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(title());
    m_layouts.setMaxThreadCount(1);
    m_view = new QTextBrowser(this);
    m_view->setOpenLinks(false);
    m_view->setAccessibleName(QStringLiteral("Vorschau des Beitrags"));
    m_copy = new QPushButton(QStringLiteral("Als HTML &kopieren"), this);
    m_copy->setAccessibleDescription(
        QStringLiteral("Legt den Beitrag als HTML in die Zwischenablage"));
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    resize(fontMetrics().averageCharWidth() * 90, fontMetrics().height() * 30);
    connect(m_copy, &QPushButton::clicked, this, &PreviewWindow::copyHtmlRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_view, &QTextBrowser::anchorClicked, this, &PreviewWindow::linkClicked);
}

PreviewWindow::~PreviewWindow() {
    m_layouts.clear();
    m_layouts.waitForDone();
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes as in a dialog; F5 closes as it opened.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F5) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    emit closeRequested();
    QWidget::closeEvent(event);
}

void PreviewWindow::showPost(const QString& post, const QStringList& smileys, int caretLine,
                             int firstLine, bool whole) {
    m_post = post;
    m_smileys = smileys;
    m_caretLine = caretLine;
    m_postFirstLine = firstLine;
    m_postWhole = whole;
    ++m_asked;
    if (!m_busy)
        startLayout();
}

void PreviewWindow::startLayout() {
    m_busy = true;
    m_started = m_asked;
    bbcode::PreviewOptions options;
    options.basePointSize = m_view->font().pointSizeF();
    options.openSpoilers = m_openSpoilers;
    const QFont font = m_view->font();
    QThread* home = thread();
    m_layouts.start([this, post = m_post, smileys = m_smileys, options, font, home,
                     firstLine = m_postFirstLine, whole = m_postWhole, sequence = m_started] {
        QString html = bbcode::previewHtml(bbcode::parse(post, smileys), options);
        // A tag opened before the part shown is not seen: the note says where the part begins.
        if (!whole)
            html.prepend(QStringLiteral("<p><i>Der Beitrag ist lang: gezeigt wird der Teil um "
                                        "die Schreibmarke, ab Zeile %1.</i></p>")
                             .arg(firstLine + 1));
        // Made here and handed over whole: the window's thread only swaps it in.
        auto document = std::make_shared<std::unique_ptr<QTextDocument>>(new QTextDocument);
        (*document)->setDefaultFont(font);
        (*document)->setHtml(html);
        (*document)->moveToThread(home);
        QMetaObject::invokeMethod(
            this, [this, document, lines = anchorLines(html, firstLine), firstLine, sequence] {
                m_firstLine = firstLine;
                laidOut(document->release(), lines, sequence);
            });
    });
}

void PreviewWindow::laidOut(QTextDocument* document, const QList<int>& anchorLines,
                            quint64 sequence) {
    QScrollBar* bar = m_view->verticalScrollBar();
    const int scrolled = bar->value();
    // The browser deletes a document of its own when it gets another; the earlier ones are ours.
    QTextDocument* old = m_view->document();
    if (old && old->parent() != m_view)
        old = nullptr;
    document->setParent(m_view);
    m_view->setDocument(document);
    delete old;
    m_anchorLines = anchorLines;
    // The place is kept while the caret stays on its line.
    if (m_caretLine != m_shownCaretLine)
        scrollToCaretLine();
    else
        bar->setValue(scrolled);
    m_busy = false;
    if (sequence != m_asked)
        startLayout();
}

void PreviewWindow::showCaretLine(int caretLine) {
    m_caretLine = caretLine;
    if (!m_busy && caretLine != m_shownCaretLine)
        scrollToCaretLine();
}

void PreviewWindow::scrollToCaretLine() {
    m_shownCaretLine = m_caretLine;
    const auto at = std::upper_bound(m_anchorLines.begin(), m_anchorLines.end(), m_caretLine);
    if (at == m_anchorLines.begin()) {
        m_view->verticalScrollBar()->setValue(0);
        return;
    }
    // Anchors are named by the line within the shown section.
    m_view->scrollToAnchor(QStringLiteral("line-%1").arg(*(at - 1) - m_firstLine));
}

void PreviewWindow::waitUntilShown() {
    while (m_busy) {
        m_layouts.waitForDone();
        QCoreApplication::sendPostedEvents(this);
    }
}

void PreviewWindow::linkClicked(const QUrl& url) {
    if (url.scheme() == QLatin1String("spoiler")) {
        const qint32 node = url.path().toInt();
        if (!m_openSpoilers.removeOne(node))
            m_openSpoilers << node;
        m_shownCaretLine = m_caretLine; // a click keeps the place
        ++m_asked;
        if (!m_busy)
            startLayout();
        return;
    }
    // Anything but the web and mail stays a text: never a local program or file.
    if (bbcode::openable(url.toString()))
        QDesktopServices::openUrl(url);
}
