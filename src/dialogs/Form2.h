#pragma once
#include "platform/SingleInstance.h"
#include "text/ColorGroup.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The options dialog "Optionen": colours, autosave interval, transparency, quick texts and the
// system-information tool. It keeps no settings: it reports each choice, and the main window
// applies it at once. "OK" hides it (it stays loaded with its fields); "Abbrechen" and the
// close box unload it.
class Form2 : public QDialog, public SingleInstance<Form2> {
    Q_OBJECT
public:
    // What the dialog shows when it is loaded.
    struct Setup {
        QStringList quickTexts;    // the entries of quick texts 0..9
        int interval = 0;          // of the autosave timer, in milliseconds
        bool alphaSupport = false; // the transparency bar is offered
    };
    // Loads the dialog over the owner if it is not loaded; Form_Load runs only then.
    static Form2* Load(QWidget* owner, const Setup& setup);
    // Unloads it, with the quick-text editor it owns, if loaded.
    static void Unload();

    QGroupBox* Frame2 = nullptr;           // "Farben": the colour buttons
    QPushButton* Command3 = nullptr;       // "Fenster": the main window's background
    QPushButton* Command4 = nullptr;       // "Text": the edit field's text colour
    QPushButton* Command5 = nullptr;       // "Textfeld": the edit field's and lists' background
    QPushButton* cmdBtnColor = nullptr;    // "Buttons": the main window's buttons' background
    QPushButton* Command6 = nullptr;       // "Reset": back to the desktop's colours
    QGroupBox* Frame6 = nullptr;           // "Transparenz"
    QScrollBar* hsbTransparency = nullptr; // the transparency level, 0..255
    QLabel* lblTransparency = nullptr;     // shows the level
    QLabel* lblNoAlphaSupport = nullptr;   // shown instead of the bar without transparency
    QGroupBox* Frame5 = nullptr;           // "Autosave"
    QLabel* Label1 = nullptr;              // "Intervall in Sek:"
    QLineEdit* Text2 = nullptr;            // the autosave interval in seconds
    QGroupBox* Frame4 = nullptr;           // "Schnell-Texte"
    QPushButton* cmdEditPhrase = nullptr;  // "Editieren": opens the quick-text editor
    QComboBox* Combo1 = nullptr;           // the quick text to edit
    QPushButton* Command1 = nullptr;       // "OK": takes the interval, hides the dialog
    QPushButton* cmdSysInfo = nullptr;     // "System-Info": starts the system-information tool
    QPushButton* cmdCancel = nullptr;      // "Abbrechen": closes without the interval

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

signals:
    void colorChosen(ColorGroup group, qint32 color);
    void colorsReset();
    // "OK": the interval for the autosave timer.
    void intervalChosen(int milliseconds);
    // Every change of the transparency bar, by the user or by the opener.
    void transparencyChanged(int level);
    // The quick-text editor stored quick text n.
    void quickTextSaved(int n, const QString& text);

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit Form2(QWidget* owner);
    void createControls();
    void Form_Load(const Setup& setup);
    // Asks for a colour and reports it for the group, unless the chooser was cancelled.
    void chooseColor(ColorGroup group);
    void quickTextEdited(int n, const QString& text);
};
