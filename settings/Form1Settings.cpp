// Reading the settings into the main window and writing them back at the end.
#include "app/Form1.h"
#include "app/modMain.h"
#include "markup/TextField.h"
#include "platform/boxes.h"
#include "platform/profile.h"
#include "platform/window.h"
#include "settings/Config.h"
#include "settings/clsINIClass.h"

#include <QCheckBox>
#include <QDebug>
#include <QPushButton>

qint32 Form1::ReadSetting(const QString& key, const QString& section, const QString& file,
                          qint32 maximum, qint32 minimum, qint32 fallback) {
    const clsINIClass ini;
    return config::settingValue(ini.strGetKeyValue(key, section, file), maximum, minimum, fallback);
}

void Form1::SaveSettings() {
    const clsINIClass ini;
    auto state = [](const QCheckBox* box) { return box->checkState() == Qt::Checked ? 1 : 0; };
    const std::pair<const config::SettingKey&, qint64> values[] = {
        {config::AutoQuote, state(Check1)},
        {config::AutoSave, state(Check2)},
        {config::AlwaysOnTop, state(Check3)},
        {config::FormBackColor, window::backColor(this)},
        {config::TextColor, window::foreColor(Text1)},
        {config::TextBackColor, window::backColor(Text1)},
        {config::ButtonBackColor, window::backColor(Command1)},
        {config::Transparency, bytTransparency},
        {config::AutoSaveDelay, Timer1->Interval() / 1000},
    };
    // All nine in one replacement of the file: a failure leaves the old file whole.
    profile::Document document = profile::Document::load(ini.strDefaultFileName());
    for (const auto& [key, value] : values)
        document.setValue(ini.strDefaultSection(), QString::fromLatin1(key.name),
                          QString::number(value));
    const files::WriteResult result = document.save();
    if (result.ok)
        return;
    const QString message =
        QStringLiteral("Die Einstellungen konnten nicht in die Datei \"%1\" gespeichert "
                       "werden.\n%2")
            .arg(ini.strDefaultFileName(), result.reason);
    if (endReason == EndReason::User)
        boxes::MsgBox(message);
    else
        qWarning().noquote() << message;
}
