// The preview of the post and the post as HTML.
#include "app/Form1.h"

#include "dialogs/PreviewWindow.h"
#include "editor/EditFieldBuffer.h"
#include "editor/TextField.h"
#include "platform/clipboard.h"
#include "platform/window_modal.h"
#include "text/BBCode.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace {
// The preview follows a pause in typing this soon.
constexpr int kPreviewAfterMs = 200;
} // namespace

void Form1::setUpPreview() {
    auto* toggle = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(toggle, &QShortcut::activated, this, &Form1::togglePreview);
    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(kPreviewAfterMs);
    connect(m_previewTimer, &QTimer::timeout, this, &Form1::updatePreview);
    connect(Text1->document(), &QTextDocument::contentsChanged, this, [this] {
        if (previewShown())
            m_previewTimer->start();
    });
    connect(Text1, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (previewShown() && !m_previewTimer->isActive())
            m_preview->showCaretLine(Text1->textCursor().blockNumber());
    });
}

bool Form1::previewShown() const {
    return m_preview && m_preview->isVisible();
}

QStringList Form1::smileyCodes() const {
    QStringList codes;
    for (int i = 0; i < List1->count(); ++i)
        codes << QLatin1Char(':') + List1->item(i)->text() + QLatin1Char(':');
    return codes;
}

void Form1::updatePreview() {
    m_previewTimer->stop();
    if (!previewShown())
        return;
    const QTextCursor caret = Text1->textCursor();
    QTextDocument* document = Text1->document();
    if (document->characterCount() <= PreviewWindow::kShownWhole) {
        m_preview->showPost(m_buffer->rawText(), smileyCodes(), caret.blockNumber());
        return;
    }
    // Of a long post only the lines around the caret are copied: a copy of the whole text
    // would cost the typing many milliseconds each time.
    QTextBlock first = caret.block();
    QTextBlock last = first;
    qsizetype length = first.length();
    while (length < PreviewWindow::kShownWhole &&
           (first.previous().isValid() || last.next().isValid())) {
        if (first.previous().isValid()) {
            first = first.previous();
            length += first.length();
        }
        if (last.next().isValid() && length < PreviewWindow::kShownWhole) {
            last = last.next();
            length += last.length();
        }
    }
    QTextCursor part(document);
    part.setPosition(first.position());
    part.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    m_preview->showPost(part.selectedText(), smileyCodes(), caret.blockNumber(),
                        first.blockNumber(), false);
}

void Form1::togglePreview() {
    if (previewShown()) {
        m_preview->close();
        return;
    }
    if (!m_preview) {
        m_preview = new PreviewWindow(this);
        connect(m_preview, &PreviewWindow::copyHtmlRequested, this, &Form1::copyAsHtml);
        connect(m_preview, &PreviewWindow::closeRequested, this, [this] {
            m_previewOpen = false;
            m_previewPlace = m_preview->geometry();
            window::activate(this);
        });
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        if (m_previewPlace.width() > 0 && m_previewPlace.height() > 0 &&
            screen.intersects(m_previewPlace)) {
            m_preview->setGeometry(m_previewPlace);
        } else {
            // Beside the main window, on the side with room.
            const QRect main = frameGeometry();
            const int right = main.right() + 8;
            m_preview->move(right + m_preview->width() <= screen.right()
                                ? right
                                : std::max(screen.left(), main.left() - m_preview->width() - 8),
                            main.top());
        }
    }
    m_previewOpen = true;
    m_preview->show();
    updatePreview();
    // The preview follows; the keys stay with the text.
    window::activate(this);
}

void Form1::restorePreview() {
    if (m_previewOpen && !previewShown())
        togglePreview();
}

void Form1::copyAsHtml() {
    const QString html = bbcode::forumHtml(bbcode::parse(m_buffer->rawText(), smileyCodes()));
    clipboard::setClipboardHtml(html);
}
