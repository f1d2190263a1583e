#pragma once
#include <QString>

// The nine settings of section "GENERAL": their names, read ranges and fallbacks.
namespace config {

struct SettingKey {
    const char* name;
    qint32 minimum;
    qint32 maximum;
    qint32 fallback;
};

constexpr qint32 kColorMin = -2147483646;
constexpr qint32 kColorMax = 2147483647;
constexpr qint32 kButtonFace = -2147483633;

constexpr SettingKey AutoQuote{"AutoQuote", 0, 1, 0};
constexpr SettingKey AutoSave{"AutoSave", 0, 1, 0};
constexpr SettingKey AlwaysOnTop{"AlwaysOnTop", 0, 1, 0};
constexpr SettingKey FormBackColor{"FormBackColor", kColorMin, kColorMax, kButtonFace};
constexpr SettingKey AutoSaveDelay{"AutoSaveDelay", 0, 65, 0};
// A missing text colour or text background would both be the button face and hide the text:
// they fall back to window text on window background instead.
constexpr SettingKey TextColor{"TextColor", kColorMin, kColorMax, -2147483640};
constexpr SettingKey TextBackColor{"TextBackColor", kColorMin, kColorMax, -2147483643};
constexpr SettingKey ButtonBackColor{"ButtonBackColor", kColorMin, kColorMax, kButtonFace};
constexpr SettingKey Transparency{"Transparency", 0, 255, 0};

// The writing aids' switches, kept after the nine (a file without them reads as all on).
constexpr SettingKey SpellCheck{"SpellCheck", 0, 1, 1};
constexpr SettingKey SpellCheckQuotes{"SpellCheckQuotes", 0, 1, 1};
constexpr SettingKey CheckTags{"CheckTags", 0, 1, 1};
// The dictionary's language, a name such as "de_DE".
constexpr const char* SpellLanguage = "SpellLanguage";
constexpr const char* kDefaultLanguage = "de_DE";

// Every run keeps its text as a draft (a file without the key reads as on).
constexpr SettingKey KeepDrafts{"KeepDrafts", 0, 1, 1};

// The preview window: open at the end of the last run, and its place (a width of 0: none).
constexpr SettingKey Preview{"Preview", 0, 1, 0};
constexpr SettingKey PreviewLeft{"PreviewLeft", -100000, 100000, 0};
constexpr SettingKey PreviewTop{"PreviewTop", -100000, 100000, 0};
constexpr SettingKey PreviewWidth{"PreviewWidth", 0, 100000, 0};
constexpr SettingKey PreviewHeight{"PreviewHeight", 0, 100000, 0};

// Pasting HTML as markup takes colours and sizes over.
constexpr SettingKey PasteColors{"PasteColors", 0, 1, 0};

// The keys this program keeps after the nine. A file with none of them was written by the
// Windows program or by hand.
constexpr const char* kAddedKeys[] = {SpellCheck.name,    SpellLanguage,   SpellCheckQuotes.name,
                                      CheckTags.name,     KeepDrafts.name, Preview.name,
                                      PreviewLeft.name,   PreviewTop.name, PreviewWidth.name,
                                      PreviewHeight.name, PasteColors.name};

// The number at the start of a stored value, rounded half to even and held to the range; the
// fallback for an empty value and for an "&H" / "&O" number beyond 32 bits. A decimal number
// beyond 32 bits is held to the range as well.
qint32 settingValue(const QString& stored, qint32 maximum, qint32 minimum, qint32 fallback);

} // namespace config
