#pragma once
// Whether HTML is the bracket-markup writers' own: every '<' starts one of their tags with
// their attributes only, addresses have an allowed scheme, text holds no '>' or '"', and every
// element but br and img is closed in order. Empty when it is; else what is wrong.
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

inline QString htmlProblem(QStringView html) {
    static const QStringList names = QStringLiteral("br img strong em span s div blockquote cite a "
                                                    "ul ol li p pre code details summary table "
                                                    "tr td b i u")
                                         .split(u' ');
    static const QStringList attributes =
        QStringLiteral(
            "class style href src alt title name width cellspacing cellpadding border align")
            .split(u' ');
    static const QStringList schemes =
        QStringLiteral("http:// https:// ftp:// mailto: spoiler:").split(u' ');
    std::vector<QStringView> open;
    qsizetype textStart = 0;
    for (qsizetype at = html.indexOf(u'<'); textStart <= html.size(); at = html.indexOf(u'<', at)) {
        const QStringView text = html.sliced(textStart, (at < 0 ? html.size() : at) - textStart);
        if (text.contains(u'>') || text.contains(u'"'))
            return QStringLiteral("bare > or \" in text: ") + text.toString();
        if (at < 0)
            break;
        const qsizetype end = html.indexOf(u'>', at);
        if (end < 0)
            return QStringLiteral("tag without end");
        QStringView tag = html.sliced(at + 1, end - at - 1);
        textStart = at = end + 1;
        const bool closing = tag.startsWith(u'/');
        if (closing)
            tag = tag.sliced(1);
        const qsizetype space = tag.indexOf(u' ');
        const QStringView name = space < 0 ? tag : tag.first(space);
        if (!names.contains(name) || tag.contains(u'<'))
            return QStringLiteral("not the writer's tag: ") + tag.toString();
        if (closing) {
            if (open.empty() || open.back() != name || space >= 0)
                return QStringLiteral("closes what is not open: ") + tag.toString();
            open.pop_back();
            continue;
        }
        for (QStringView rest = tag.sliced(name.size()); !rest.isEmpty();) {
            const qsizetype equals = rest.indexOf(QLatin1String("=\""));
            const qsizetype quote = equals < 0 ? -1 : rest.indexOf(u'"', equals + 2);
            if (!rest.startsWith(u' ') || quote < 0 ||
                !attributes.contains(rest.sliced(1, equals - 1)))
                return QStringLiteral("foreign attribute: ") + tag.toString();
            const QStringView attribute = rest.sliced(1, equals - 1);
            const QStringView value = rest.sliced(equals + 2, quote - equals - 2);
            if ((attribute == u"href" || attribute == u"src") &&
                std::none_of(schemes.cbegin(), schemes.cend(), [value](const QString& scheme) {
                    return value.startsWith(scheme, Qt::CaseInsensitive);
                }))
                return QStringLiteral("address of another scheme: ") + value.toString();
            rest = rest.sliced(quote + 1);
        }
        if (name != u"br" && name != u"img")
            open.push_back(name);
    }
    return open.empty() ? QString() : QStringLiteral("left open: ") + open.back().toString();
}
