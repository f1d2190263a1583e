#pragma once
#include <QPlainTextEdit>

#include <functional>

// The edit field. Each key press is offered to keyDown first (key code and modifier mask);
// when it ran an action the key stops there, so the widget's own binding of the same key
// (Ctrl+K deletes to the line end, for one) cannot undo the action's result.
class TextField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextField(QWidget* parent = nullptr);

    std::function<bool(int KeyCode, int Shift)> keyDown;

signals:
    // The right-click menu, before it is shown: the window may add its items.
    void contextMenuAboutToShow(QMenu* menu);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
};
