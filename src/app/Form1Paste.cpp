// Pasting a web page's or an office document's HTML as markup.
#include "app/Form1.h"

#include "editor/EditFieldBuffer.h"
#include "platform/clipboard.h"
#include "text/EditBuffer.h"
#include "text/HtmlToBBCode.h"

#include <QShortcut>

void Form1::setUpPaste() {
    // Ctrl+V stays the plain paste; the edit field leaves this key to the window.
    auto* paste = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), this);
    connect(paste, &QShortcut::activated, this, &Form1::pasteAsMarkup);
}

void Form1::pasteAsMarkup() {
    const clipboard::Html html = clipboard::ClipboardHtml();
    const QString text =
        html.present ? toCrLf(htmlpaste::toBBCode(html.html, htmlpaste::Options{m_pasteColors},
                                                  html.sourceUrl))
                     : clipboard::ClipboardText();
    replaceSelection(*m_buffer, text);
}
