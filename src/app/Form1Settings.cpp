// The settings: read into the main window at start, written back at the end.
#include "app/DraftKeeper.h"
#include "app/Form1.h"
#include "app/modMain.h"
#include "dialogs/PreviewWindow.h"
#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "platform/boxes.h"
#include "platform/clsINIClass.h"
#include "platform/profile.h"
#include "platform/window_colors.h"
#include "text/Config.h"

#include <QCheckBox>
#include <QDebug>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

namespace {

Qt::CheckState checkState(qint32 value) {
    return value != 0 ? Qt::Checked : Qt::Unchecked;
}

qint64 checked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked ? 1 : 0;
}

// Each setting with where it lives in the main window. The rows stand in the order of reading;
// `savedAs` is the place among the writes, which put the delay last.
struct Setting {
    const config::SettingKey& key;
    int savedAs;
    void (*apply)(Form1& form, qint32 value);
    qint64 (*current)(const Form1& form);
};

const Setting kSettings[] = {
    {config::AutoQuote, 0, [](Form1& f, qint32 v) { f.Check1->setCheckState(checkState(v)); },
     [](const Form1& f) { return checked(f.Check1); }},
    {config::AutoSave, 1, [](Form1& f, qint32 v) { f.Check2->setCheckState(checkState(v)); },
     [](const Form1& f) { return checked(f.Check2); }},
    // Checking AOT puts the window on top from here on.
    {config::AlwaysOnTop, 2, [](Form1& f, qint32 v) { f.Check3->setCheckState(checkState(v)); },
     [](const Form1& f) { return checked(f.Check3); }},
    {config::FormBackColor, 3, [](Form1& f, qint32 v) { f.setColor(ColorGroup::Window, v); },
     [](const Form1& f) { return qint64(window::backColor(&f)); }},
    {config::AutoSaveDelay, 8,
     // The AS check box, read before, switches the timer on and off.
     [](Form1& f, qint32 v) { f.Timer1->setInterval(v * 1000); },
     [](const Form1& f) { return qint64(f.Timer1->Interval() / 1000); }},
    {config::TextColor, 4, [](Form1& f, qint32 v) { f.setColor(ColorGroup::Text, v); },
     [](const Form1& f) { return qint64(window::foreColor(f.Text1)); }},
    {config::TextBackColor, 5, [](Form1& f, qint32 v) { f.setColor(ColorGroup::TextArea, v); },
     [](const Form1& f) { return qint64(window::backColor(f.Text1)); }},
    {config::ButtonBackColor, 6, [](Form1& f, qint32 v) { f.setColor(ColorGroup::Buttons, v); },
     [](const Form1& f) { return qint64(window::backColor(f.Command1)); }},
    // Kept also where it cannot be applied, and saved again at the end.
    {config::Transparency, 7, [](Form1& f, qint32 v) { f.keepTransparency(v); },
     [](const Form1& f) { return qint64(f.transparency()); }},
};

} // namespace

qint32 Form1::ReadSetting(const SettingValues& values, const config::SettingKey& key) const {
    const QString stored = values.value(QString::fromLatin1(key.name).toCaseFolded());
    return config::settingValue(stored, key.maximum, key.minimum, key.fallback);
}

void Form1::LoadSettings(const SettingValues& values) {
    for (const Setting& setting : kSettings)
        setting.apply(*this, ReadSetting(values, setting.key));
    // Where the file comes from the Windows program, the delay alone ran autosave and AS did
    // nothing; AS switching autosave now must not silently stop it.
    const bool olderFile = std::none_of(
        std::begin(config::kAddedKeys), std::end(config::kAddedKeys),
        [&](const char* key) { return values.contains(QString::fromLatin1(key).toCaseFolded()); });
    if (olderFile && Timer1->Interval() > 0)
        Check2->setCheckState(Qt::Checked);
    keepAutosaveRunning();
    // A stored language is a bare name; anything else falls back to German.
    QString language =
        values.value(QString::fromLatin1(config::SpellLanguage).toCaseFolded()).trimmed();
    static const QRegularExpression name(QStringLiteral("^[A-Za-z]{2,3}(_[A-Za-z0-9]+)*$"));
    if (!name.match(language).hasMatch())
        language = QString::fromLatin1(config::kDefaultLanguage);
    m_aids->setQuotesChecked(ReadSetting(values, config::SpellCheckQuotes) != 0);
    m_aids->setTagCheck(ReadSetting(values, config::CheckTags) != 0);
    m_aids->setLanguage(language);
    m_aids->setSpellChecking(ReadSetting(values, config::SpellCheck) != 0);
    m_drafts->setEnabled(ReadSetting(values, config::KeepDrafts) != 0);
    m_previewOpen = ReadSetting(values, config::Preview) != 0;
    m_previewPlace = QRect(
        ReadSetting(values, config::PreviewLeft), ReadSetting(values, config::PreviewTop),
        ReadSetting(values, config::PreviewWidth), ReadSetting(values, config::PreviewHeight));
}

void Form1::settingsUnreadable(const QString& file, const QString& reason) {
    m_unreadableSettings = file;
    boxes::MsgBox(QStringLiteral("Die Einstellungen in der Datei \"%1\" konnten nicht gelesen "
                                 "werden.\n%2\nDas Programm startet mit den "
                                 "Grundeinstellungen; die Datei bleibt unverändert.")
                      .arg(file, reason));
}

void Form1::SaveSettings() {
    const clsINIClass ini;
    const Setting* order[std::size(kSettings)];
    for (const Setting& setting : kSettings)
        order[setting.savedAs] = &setting;
    const auto report = [this](const QString& message) {
        if (m_endReason == EndReason::User)
            boxes::MsgBox(message);
        else
            qWarning().noquote() << message;
    };
    // A file that could not be read is never replaced by the nine keys alone.
    if (!m_unreadableSettings.isEmpty()) {
        report(QStringLiteral("Die Einstellungen wurden nicht gespeichert: die Datei \"%1\" "
                              "konnte beim Start nicht gelesen werden und bleibt unverändert.")
                   .arg(m_unreadableSettings));
        return;
    }
    const settingsfile::WritePlace place = settingsfile::prepareWrite();
    profile::Loaded loaded = profile::load(ini.strDefaultFileName());
    QString reason = place.reason;
    if (place.ok && !loaded.ok)
        reason = loaded.reason;
    if (place.ok && loaded.ok) {
        // All nine in one replacement of the file: a failure leaves the old file whole.
        profile::Document& document = loaded.document;
        document.setFileName(place.path);
        for (const Setting* setting : order)
            document.setValue(ini.strDefaultSection(), QString::fromLatin1(setting->key.name),
                              QString::number(setting->current(*this)));
        const auto flag = [&](const config::SettingKey& key, bool on) {
            document.setValue(ini.strDefaultSection(), QString::fromLatin1(key.name),
                              QString::number(on ? 1 : 0));
        };
        flag(config::SpellCheck, m_aids->spellChecking());
        document.setValue(ini.strDefaultSection(), QString::fromLatin1(config::SpellLanguage),
                          m_aids->language());
        flag(config::SpellCheckQuotes, m_aids->quotesChecked());
        flag(config::CheckTags, m_aids->tagCheck());
        flag(config::KeepDrafts, m_drafts->enabled());
        flag(config::Preview, m_previewOpen);
        const QRect shown =
            m_preview && m_preview->isVisible() ? m_preview->geometry() : m_previewPlace;
        const auto number = [&](const config::SettingKey& key, int value) {
            document.setValue(ini.strDefaultSection(), QString::fromLatin1(key.name),
                              QString::number(value));
        };
        number(config::PreviewLeft, shown.x());
        number(config::PreviewTop, shown.y());
        number(config::PreviewWidth, shown.width());
        number(config::PreviewHeight, shown.height());
        flag(config::PasteColors, m_pasteColors);
        const files::WriteResult result = profile::save(document);
        if (result.ok)
            return;
        reason = result.reason;
    }
    report(QStringLiteral("Die Einstellungen konnten nicht in die Datei \"%1\" gespeichert "
                          "werden.\n%2")
               .arg(place.path, reason));
}
