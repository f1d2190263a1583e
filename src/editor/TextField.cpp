#include "editor/TextField.h"

#include "platform/mnemonics.h"
#include "text/KeyDispatch.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QToolTip>

#include <memory>

TextField::TextField(QWidget* parent) : QPlainTextEdit(parent) {
    // Tab moves through the window's controls, as in every edit field of a dialog-like window;
    // a tab character still comes in by paste.
    setTabChangesFocus(true);
}

void TextField::keyPressEvent(QKeyEvent* event) {
    if (keyDown && keyDown(keyCodeFromQt(event->key()), shiftFromQt(event->modifiers()))) {
        event->accept();
        return;
    }
    // Ctrl+Y redoes, as on Windows; X11 desktops bind redo to Ctrl+Shift+Z only.
    if (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier) {
        redo();
        event->accept();
        return;
    }
    // Shift+F10 opens the menu as the Menu key does, for keyboards without that key.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint at = cursorRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
        contextMenuEvent(&menu);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

bool TextField::event(QEvent* event) {
    // Claim the action keys before any shortcut of the window can take them.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (EditKeyAction(keyCodeFromQt(key->key()), shiftFromQt(key->modifiers())) !=
            KeyAction::None) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

bool TextField::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTipAt) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

void TextField::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    if (paintOver)
        paintOver(viewport(), event->rect());
}

QPointF TextField::blockTopLeft(const QTextBlock& block) const {
    return blockBoundingGeometry(block).translated(contentOffset()).topLeft();
}

void TextField::contextMenuEvent(QContextMenuEvent* event) {
    m_contextMenuPos = event->pos();
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    emit contextMenuAboutToShow(menu.get());
    mnemonics::addMissing(menu.get());
    menu->exec(event->globalPos());
}

void TextField::insertFromMimeData(const QMimeData* source) {
    // Plain text in one cursor edit, one undo step. Qt's own path builds a document fragment of
    // the text first and copies it block by block, three times slower on a large paste.
    const QString text = source ? source->text() : QString();
    if (text.isNull())
        return;
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}
