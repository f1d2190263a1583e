#pragma once
#include "app/EndReason.h"
#include "platform/IntervalTimer.h"
#include "platform/SingleInstance.h"
#include "text/ColorGroup.h"

#include <QElapsedTimer>
#include <QHash>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace config {
struct SettingKey;
}
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class BackgroundWriter;
class DraftKeeper;
class DraftsWindow;
class PreviewWindow;
class Form2;
class EditFieldBuffer;
class TextField;
class TrayIcon;
class WritingAids;

// The main window: the edit field, the markup buttons, quick texts, smilies and the three
// check boxes. It lives for the whole run; its close box hides it where a tray icon can bring
// it back, and ends the program otherwise.
class Form1 : public QWidget, public SingleInstance<Form1> {
    Q_OBJECT
public:
    ~Form1() override;

    // Loading: builds the controls and runs Form_Load; the window is not shown yet. The loaded
    // window when there is one. Without alpha support a transparency level is kept, not applied.
    static Form1* Load(bool alphaSupport = false);

    // Unloads the window for the given reason (0 = the user's close box); a window already
    // being unloaded is skipped.
    void Unload(int UnloadMode);
    bool isUnloading() const { return m_unloading; }
    // Who ends the program; messages of the end are shown only to the user.
    void setEndReason(EndReason reason) { m_endReason = reason; }

    bool alphaSupport() const { return m_alphaSupport; }
    // 0 = opaque .. 255, as stored, also where it cannot be applied.
    uint8_t transparency() const { return m_transparency; }
    // Quick texts 0..9 and the separators 10..12 of the drop-down.
    const QString& quickText(int n) const { return m_quickTexts[size_t(n)]; }

    // Commands, also reached through the keys of the edit field.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void markAll();
    void jumpToEnd();
    void formatQuotes();
    void saveUserCopy();

    // Runs the action of a key pressed in the edit field; true when one ran.
    bool Text1_KeyDown(int KeyCode, int Shift);

    // Window shell: tray icon, always on top, the secondary windows.
    void AddSysTrayIcon();
    void RemoveSysTrayIcon();
    // A notification of the tray icon (TrayIcon::Notification): a left click shows the window,
    // a right click pops up the menu, any other number is ignored.
    void picSysTrayIcon_MouseMove(int message);
    void ToggleAOT(uint8_t bytStatus);
    bool isTopmost() const;
    void cmdInfo_Click();
    // Runs `open` with topmost switched off while always-on-top is on, and on again after.
    void openWithTopmostSuspended(const std::function<void()>& open);
    void showAbout();
    void showKurzHilfe();
    void showOptions();
    // The options dialog, loaded if needed and wired to this window, ready to be shown.
    Form2* loadOptions();
    TrayIcon* tray() const { return m_tray; }

    void Combo1_Click();
    void List1_Click();
    void Timer1_Timer();
    // Replaces the text with the one in "autosave.txt", as one undo step.
    void loadAutosave();
    // Replaces the text with another, as one undo step.
    void loadText(const QString& text);

    // The preview beside the main window: opened, or closed when it is open (F5).
    void togglePreview();
    PreviewWindow* preview() const { return m_preview; }
    // Opens the preview where the last run left it open.
    void restorePreview();
    // The post as HTML on the clipboard, as the forum would show it.
    void copyAsHtml();
    // The clipboard's HTML as markup in place of the selection (its plain text without HTML).
    void pasteAsMarkup();
    // Pasting HTML takes colours and sizes over.
    void setPasteColors(bool on) { m_pasteColors = on; }
    bool pasteColors() const { return m_pasteColors; }

    // This run's draft; the window of earlier drafts, opened or brought to the front.
    DraftKeeper& drafts() { return *m_drafts; }
    DraftsWindow* showDrafts();

    EditFieldBuffer& buffer() { return *m_buffer; }
    WritingAids& aids() { return *m_aids; }

    // Controls, named as in the window layout.
    QCheckBox* Check1 = nullptr;      // AQ: with nothing selected, quote the clipboard
    QCheckBox* Check2 = nullptr;      // AS: autosave
    QCheckBox* Check3 = nullptr;      // AOT: always on top
    QPushButton* Command1 = nullptr;  // the quote button "Q"
    QPushButton* Command2 = nullptr;  // the bold button "F"
    QPushButton* Command3 = nullptr;  // the italic button "K"
    QPushButton* Command4 = nullptr;  // the link button "URL"
    QPushButton* Command5 = nullptr;  // the list button "L"
    QPushButton* cmdInfo = nullptr;   // "Opt": opens the options dialog
    QComboBox* Combo1 = nullptr;      // the quick texts
    TextField* Text1 = nullptr;       // the edit field holding the post
    QListWidget* List1 = nullptr;     // the smilies
    QLabel* picSysTrayIcon = nullptr; // hidden; holds the program icon for the tray
    IntervalTimer* Timer1 = nullptr;  // the autosave timer

    // Colours a group of controls: the background, or the edit field's text.
    void setColor(ColorGroup group, qint32 value);
    // The desktop scheme's colours, as a new window has them.
    void resetColors();
    // The interval chosen in the options dialog; one above 0 ticks AS.
    void setAutosaveInterval(int milliseconds);
    // Applies and keeps the level where window opacity is supported.
    void applyTransparency(int level);
    // A stored level: kept also where it cannot be applied, and saved again at the end.
    void keepTransparency(int level);
    // Quick text n and its drop-down entry.
    void setQuickText(int n, const QString& text);

    // Lays out the edit field and the smiley list for the window's size.
    void Form_Resize();

    // Waits for autosave writes still under way.
    void finishAutosave();
    // Hands a draft write that is due over now, not between two keys.
    void saveDraftNow();
    // The window system is gone and the process ends at once: keeps what an end keeps, with
    // no window, box or tray call. Unloading later does nothing.
    void keepForAbruptEnd();

signals:
    // The unload handler has run: settings saved, tray icon removed.
    void unloaded();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Form1();
    void createControls();
    void Form_Load();
    void InitForm();
    void Form_QueryUnload(int& Cancel, int& UnloadMode);
    void Form_Unload(int& Cancel);
    void Check3_Click();
    // The settings of section "GENERAL", read once for all nine.
    using SettingValues = QHash<QString, QString>;
    qint32 ReadSetting(const SettingValues& values, const config::SettingKey& key) const;
    void LoadSettings(const SettingValues& values);
    void SaveSettings();
    // Remembers that the settings file cannot be read, so that it is never replaced, and tells
    // the user.
    void settingsUnreadable(const QString& file, const QString& reason);
    void autosaveReport(bool failing, const QString& reason);
    void draftReport(bool failing, const QString& reason);
    void updateCaption();
    bool closeBoxHides() const;
    void updateTaskbarEntry();
    void addRecoveryItem(QMenu* menu);
    void setUpPreview();
    void setUpPaste();
    void updatePreview();
    bool previewShown() const;
    // The smiley codes as they stand in a post, ":lach:".
    QStringList smileyCodes() const;
    // What a copy of the text between two keys is for.
    enum Copy { AutosaveCopy = 1, DraftCopy = 2 };
    // Copies the text for the writes asked for, after the next key while the user types.
    void copyBetweenKeys(int copies);
    void copyPending();
    // A ticked AS always autosaves: with no interval set it gets the usual 10 seconds.
    void keepAutosaveRunning();
    void keyPressed();

    bool m_alphaSupport = false;
    uint8_t m_transparency = 0;
    std::array<QString, 13> m_quickTexts;
    EndReason m_endReason = EndReason::User;
    std::unique_ptr<EditFieldBuffer> m_buffer;
    BackgroundWriter* m_autosave = nullptr;
    DraftKeeper* m_drafts = nullptr;
    DraftsWindow* m_draftsWindow = nullptr;
    PreviewWindow* m_preview = nullptr;
    QTimer* m_previewTimer = nullptr;
    // Kept at the end: hiding the main window in the tray hides the preview, which stays open.
    bool m_previewOpen = false;
    bool m_pasteColors = false;
    QRect m_previewPlace;
    int m_pendingCopies = 0;
    WritingAids* m_aids = nullptr;
    // Copying a large text for autosave takes a while (about 15 ms at 10 MB). While the user
    // types, a tick waits until just after the next key, so that the copy falls between two
    // keys instead of holding one up; without a key it comes at the latest after a pause.
    QElapsedTimer m_lastKey;
    QTimer* m_tickAfterKey = nullptr;
    // While the window is hidden, the tray is its only way back: if the tray host goes away
    // for good (its panel or bus ended), the window is shown again.
    QTimer* m_trayWatch = nullptr;
    int m_trayMissing = 0;
    void watchTray();
    TrayIcon* m_tray = nullptr;
    QString m_unreadableSettings; // the settings file that could not be read at start
    bool m_changedSinceAutosave = false;
    bool m_unloading = false;
    bool m_loaded = false; // Form_Load has finished
};
