#include "text/SpellScan.h"

#include "text/TagBalance.h"

#include <QLatin1String>

#include <utility>

namespace spellscan {

namespace {

// One code point, so that an emoji (two UTF-16 units) is never taken apart.
struct CodePoint {
    char32_t value = 0;
    qsizetype width = 1;
};

CodePoint codePointAt(QStringView s, qsizetype i) {
    const QChar c = s[i];
    if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, s[i + 1]), 2};
    return {c.unicode(), 1};
}

char32_t codePointBefore(QStringView s, qsizetype i) {
    const QChar c = s[i - 1];
    if (c.isLowSurrogate() && i >= 2 && s[i - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(s[i - 2], c);
    return c.unicode();
}

bool isJoiner(QChar c) {
    return c == u'-' || c == u'\'' || c == QChar(0x2019);
}

bool startsToken(char32_t c) {
    return QChar::isLetter(c) || QChar::isNumber(c) || c == U'_';
}

class Scanner {
public:
    explicit Scanner(QStringView line) : line_(line), lastClose_(line.lastIndexOf(u']')) {}

    QList<Word> words() {
        qsizetype i = 0;
        while (i < line_.size()) {
            if (line_[i].isSpace()) {
                ++i;
            } else if (const qsizetype tag = tagLength(i)) {
                i += tag;
            } else {
                const qsizetype end = runEnd(i);
                if (!isEmail(i, end))
                    scanRun(i, end);
                i = end;
            }
        }
        return std::move(words_);
    }

private:
    // The length of the known tag at `i`, or 0.
    qsizetype tagLength(qsizetype i) const {
        if (line_[i] != u'[' || i >= lastClose_)
            return 0;
        const std::optional<tagbalance::Tag> tag = tagbalance::tagAt(line_, i);
        return tag ? tag->length : 0;
    }

    // A run ends at white space or at a known tag; it starts with neither.
    qsizetype runEnd(qsizetype start) const {
        qsizetype i = start + 1;
        while (i < line_.size() && !line_[i].isSpace() && !tagLength(i))
            ++i;
        return i;
    }

    bool isEmail(qsizetype start, qsizetype end) const {
        for (qsizetype i = start + 1; i + 1 < end; ++i) {
            if (line_[i] == u'@' && QChar::isLetterOrNumber(codePointBefore(line_, i)) &&
                QChar::isLetterOrNumber(codePointAt(line_, i + 1).value))
                return true;
        }
        return false;
    }

    bool startsUrl(qsizetype i) const {
        const QStringView rest = line_.sliced(i);
        for (const QLatin1String prefix : {QLatin1String("http://"), QLatin1String("https://"),
                                           QLatin1String("ftp://"), QLatin1String("www.")}) {
            if (rest.startsWith(prefix, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }

    // ":name:" with letters, digits, '_' or '-'; the length from colon to colon, or 0.
    qsizetype smileyLength(qsizetype i, qsizetype end) const {
        qsizetype j = i + 1;
        while (j < end) {
            const CodePoint c = codePointAt(line_, j);
            if (!QChar::isLetterOrNumber(c.value) && c.value != U'_' && c.value != U'-')
                break;
            j += c.width;
        }
        return j > i + 1 && j < end && line_[j] == u':' ? j + 1 - i : 0;
    }

    void scanRun(qsizetype i, qsizetype end) {
        while (i < end) {
            const CodePoint c = codePointAt(line_, i);
            if (startsToken(c.value)) {
                if (startsUrl(i))
                    return; // the URL runs to the end of the run
                i = scanToken(i, end);
            } else if (const qsizetype smiley = c.value == U':' ? smileyLength(i, end) : 0) {
                i += smiley;
            } else {
                i += c.width;
            }
        }
    }

    // Segments of letters, digits and '_', joined by single hyphens or apostrophes. A segment
    // with a digit or '_' is skipped and splits the word around it.
    qsizetype scanToken(qsizetype i, qsizetype end) {
        qsizetype wordStart = -1;
        qsizetype wordEnd = 0;
        int letters = 0;
        while (true) {
            const qsizetype segmentStart = i;
            int segmentLetters = 0;
            bool plain = true;
            while (i < end) {
                const CodePoint c = codePointAt(line_, i);
                if (QChar::isLetter(c.value))
                    ++segmentLetters;
                else if (QChar::isNumber(c.value) || c.value == U'_')
                    plain = false;
                else if (!QChar::isMark(c.value) || i == segmentStart)
                    break;
                i += c.width;
            }
            if (plain) {
                if (wordStart < 0)
                    wordStart = segmentStart;
                wordEnd = i;
                letters += segmentLetters;
            } else {
                flush(wordStart, wordEnd, letters);
            }
            if (i + 1 < end && isJoiner(line_[i]) && startsToken(codePointAt(line_, i + 1).value))
                ++i;
            else
                break;
        }
        flush(wordStart, wordEnd, letters);
        return i;
    }

    void flush(qsizetype& start, qsizetype end, int& letters) {
        if (start >= 0 && letters > 1)
            words_.append({start, end - start});
        start = -1;
        letters = 0;
    }

    QStringView line_;
    qsizetype lastClose_; // no tag starts at or after the last ']'
    QList<Word> words_;
};

} // namespace

QList<Word> checkableWords(QStringView line) {
    return Scanner(line).words();
}

} // namespace spellscan
