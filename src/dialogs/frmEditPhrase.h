#pragma once
#include "platform/SingleInstance.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The quick-text editor "Schnell-Text editieren".
// It edits one quick text, opened with its number. "OK" writes the file, reports the new text
// and hides the editor; "Abbrechen" unloads it.
class frmEditPhrase : public QDialog, public SingleInstance<frmEditPhrase> {
    Q_OBJECT
public:
    // Loads the editor over the owner if needed and fills it from quick text n's file.
    static frmEditPhrase* Load(QWidget* owner, int n);

    QPlainTextEdit* Text1 = nullptr;  // the quick text being edited
    QPushButton* cmdOK = nullptr;     // "OK": saves the quick text
    QPushButton* cmdCancel = nullptr; // "Abbrechen": closes without saving

    void cmdOk_Click();
    void cmdCancel_Click();

signals:
    // The file of quick text n now holds the text (and a final CR LF).
    void saved(int n, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    explicit frmEditPhrase(QWidget* owner);
    int m_number = -1;
};
