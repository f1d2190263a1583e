#pragma once
#include <QLatin1String>

#include <array>

// The bracket tags the program knows, shared by the tag balance and the markup parser.
namespace tagtable {

enum class Parameter : quint8 { None, Optional, Required };

struct TagInfo {
    QLatin1String name; // upper case
    bool block;         // stands on lines of its own: quotes, lists, code, alignment
    Parameter parameter;
    bool parsed; // its contents are read as markup (not so in CODE, IMG, ...)
};

inline constexpr std::array<TagInfo, 25> kTags = {{
    {QLatin1String("B"), false, Parameter::None, true},
    {QLatin1String("I"), false, Parameter::None, true},
    {QLatin1String("U"), false, Parameter::None, true},
    {QLatin1String("S"), false, Parameter::None, true},
    {QLatin1String("QUOTE"), true, Parameter::Optional, true},
    {QLatin1String("URL"), false, Parameter::Optional, true},
    {QLatin1String("IMG"), false, Parameter::None, false},
    {QLatin1String("CODE"), true, Parameter::None, false},
    {QLatin1String("LIST"), true, Parameter::Optional, true},
    {QLatin1String("*"), false, Parameter::None, true},
    {QLatin1String("COLOR"), false, Parameter::Required, true},
    {QLatin1String("SIZE"), false, Parameter::Required, true},
    {QLatin1String("FONT"), false, Parameter::Required, true},
    {QLatin1String("CENTER"), true, Parameter::None, true},
    {QLatin1String("LEFT"), true, Parameter::None, true},
    {QLatin1String("RIGHT"), true, Parameter::None, true},
    {QLatin1String("EMAIL"), false, Parameter::Optional, true},
    {QLatin1String("SPOILER"), true, Parameter::Optional, true},
    {QLatin1String("NOPARSE"), false, Parameter::None, false},
    {QLatin1String("INDENT"), true, Parameter::None, true},
    {QLatin1String("HIGHLIGHT"), false, Parameter::Optional, true},
    {QLatin1String("PHP"), true, Parameter::None, false},
    {QLatin1String("HTML"), true, Parameter::None, false},
    {QLatin1String("YOUTUBE"), false, Parameter::None, false},
    {QLatin1String("MEDIA"), false, Parameter::Optional, false},
}};

// Indices into kTags.
enum Index : int {
    kB,
    kI,
    kU,
    kS,
    kQuote,
    kUrl,
    kImg,
    kCode,
    kList,
    kStar,
    kColor,
    kSize,
    kFont,
    kCenter,
    kLeft,
    kRight,
    kEmail,
    kSpoiler,
};

constexpr qsizetype kLongestName = 9;

// The index of the name in kTags, or -1. `unitAt(i)` gives the name's UTF-16 unit at i. ASCII
// folding only: Unicode folding would let "[ſ]" pass for "[S]".
template <typename UnitAt> int indexOf(qsizetype size, UnitAt unitAt) {
    for (int k = 0; k < int(kTags.size()); ++k) {
        const QLatin1String known = kTags[size_t(k)].name;
        if (known.size() != size)
            continue;
        bool same = true;
        for (qsizetype i = 0; i < size && same; ++i) {
            char16_t c = unitAt(i);
            if (c >= u'a' && c <= u'z')
                c = char16_t(c - (u'a' - u'A'));
            same = c == char16_t(known[i].unicode());
        }
        if (same)
            return k;
    }
    return -1;
}

} // namespace tagtable
