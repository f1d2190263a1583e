#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// "Schnell-Text editieren": edits the quick text chosen in the options dialog. "OK" writes the
// file, the table and both lists and hides the editor; "Abbrechen" unloads it.
class frmEditPhrase : public QDialog {
    Q_OBJECT
public:
    static frmEditPhrase* instance();
    static frmEditPhrase* Load(QWidget* owner);
    static void Unload();

    QPlainTextEdit* Text1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    explicit frmEditPhrase(QWidget* owner);
    ~frmEditPhrase() override;
};
