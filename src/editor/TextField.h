#pragma once
#include <QPlainTextEdit>
#include <QTextBlock>

#include <functional>

// The edit field. Each key press is offered to keyDown first (key code and modifier mask);
// when it ran an action the key stops there, so the widget's own binding of the same key
// (Ctrl+K deletes to the line end, for one) cannot undo the action's result.
class TextField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextField(QWidget* parent = nullptr);

    std::function<bool(int KeyCode, int Shift)> keyDown;
    // Draws over the text after each paint of the viewport (the rectangle being painted).
    std::function<void(QWidget* viewport, const QRect& rect)> paintOver;
    // The tool tip for a point of the viewport; empty for none.
    std::function<QString(const QPoint& point)> toolTipAt;

    // Where in the viewport the right-click menu being built was asked for.
    QPoint contextMenuPos() const { return m_contextMenuPos; }
    // A block's top left corner in viewport coordinates; the first block that can be visible.
    QPointF blockTopLeft(const QTextBlock& block) const;
    QTextBlock firstVisibleTextBlock() const { return firstVisibleBlock(); }

signals:
    // The right-click menu, before it is shown: the window may add its items.
    void contextMenuAboutToShow(QMenu* menu);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    QPoint m_contextMenuPos;
};
