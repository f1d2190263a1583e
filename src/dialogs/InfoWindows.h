#pragma once
#include "platform/SingleInstance.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

// The About window: title and version in the caption, "readme.txt" in a read-only box. Shown
// modally over the main window; closing it unloads it.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(QWidget* owner, const QString& caption);

    QLabel* picIcon = nullptr;         // the program icon
    QPlainTextEdit* txtInfo = nullptr; // "readme.txt", read-only

private:
    void Form_Load(QWidget* owner, const QString& caption);
};

// The quick-help window: "kurzhilfe.txt" in an editable box (never saved), modeless, owned by
// the main window. At most one exists; it is unloaded when closed.
class frmKurzHilfe : public QWidget, public SingleInstance<frmKurzHilfe> {
    Q_OBJECT
public:
    // Shows the open window, or loads a new one.
    static frmKurzHilfe* Show(QWidget* owner);

    QPlainTextEdit* txtKurzHilfe = nullptr; // "kurzhilfe.txt", editable, never saved

    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    explicit frmKurzHilfe(QWidget* owner);
    void Form_Load(QWidget* owner);
};

// The text of a file shown in these windows: a missing file is created empty; a file that
// cannot be read, or is no regular file, shows as empty.
QString readShownFile(const QString& fileName);
