#pragma once
#include <QDialog>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The options dialog "Optionen": colours, autosave interval, transparency, quick texts and the
// system-information tool. Every change goes straight into the main window. "OK" hides it (it
// stays loaded with its fields); "Abbrechen" and the close box unload it.
class Form2 : public QDialog {
    Q_OBJECT
public:
    static Form2* instance();
    // Loads the dialog if it is not loaded; Form_Load runs only then.
    static Form2* Load();
    // Unloads it if loaded.
    static void Unload();

    QGroupBox* Frame2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* cmdBtnColor = nullptr;
    QPushButton* Command6 = nullptr;
    QGroupBox* Frame6 = nullptr;
    QScrollBar* hsbTransparency = nullptr;
    QLabel* lblTransparency = nullptr;
    QLabel* lblNoAlphaSupport = nullptr;
    QGroupBox* Frame5 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QPushButton* cmdEditPhrase = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* cmdCancel = nullptr;

    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void cmdBtnColor_Click();
    void Command6_Click();
    void hsbTransparency_Change();
    void Command1_Click();
    void cmdCancel_Click();
    void cmdEditPhrase_Click();
    void cmdSysInfo_Click();

    // The quick text chosen in the list, or -1 (none chosen, or other text typed in).
    int selectedQuickText() const;

    // How often Form_Load ran in this process.
    static int loadRuns();

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form2();
    ~Form2() override;
    void createControls();
    void Form_Load();
    // Asks for a colour and hands it on, unless the chooser was cancelled.
    void chooseColor(const std::function<void(qint32)>& apply);
};
