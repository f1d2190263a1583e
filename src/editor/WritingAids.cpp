#include "editor/WritingAids.h"

#include "editor/MarkPainter.h"
#include "editor/TagMarks.h"
#include "editor/TextField.h"
#include "editor/WritingAidsMenu.h"
#include "spelling/SpellingEngine.h"

#include <QMenu>
#include <QTextCursor>

WritingAids::WritingAids(TextField* field, SpellingEngine* engine)
    : QObject(field), m_field(field), m_spelling(new SpellingMarks(field, engine, this)),
      m_tags(new TagMarks(field, this)) {
    engine->setParent(this);
    connect(m_tags, &TagMarks::quotesMoved, m_spelling, &SpellingMarks::answersChanged);
    connect(field, &TextField::contextMenuAboutToShow, this,
            [this](QMenu* menu) { extendMenu(menu, m_field->contextMenuPos()); });
    field->paintOver = [this](QWidget* viewport, const QRect& rect) { paint(viewport, rect); };
    field->toolTipAt = [this](const QPoint& point) { return toolTipAt(point); };
}

WritingAids::~WritingAids() {
    m_field->paintOver = nullptr;
    m_field->toolTipAt = nullptr;
}

void WritingAids::setSpellChecking(bool on) {
    m_spelling->setOn(on);
    m_field->viewport()->update();
}

void WritingAids::setLanguage(const QString& language) {
    m_spelling->setLanguage(language);
    m_field->viewport()->update();
}

void WritingAids::setQuotesChecked(bool on) {
    m_quotesChecked = on;
    m_spelling->setQuotesLeftOut(on ? nullptr : m_tags);
    m_tags->setQuotesWanted(!on);
    m_field->viewport()->update();
}

void WritingAids::setTagCheck(bool on) {
    m_tagsOn = on;
    m_tags->setMarksWanted(on);
    m_field->viewport()->update();
}

void WritingAids::ignoreWord(const QString& word) {
    checker().ignore(word);
    m_spelling->answersChanged();
}

void WritingAids::addWord(const QString& word) {
    checker().addToPersonalList(word);
    m_spelling->answersChanged();
}

SpellingMarks::WordAt WritingAids::misspeltAt(const QPoint& viewportPos) const {
    return m_spelling->at(viewportPos);
}

const QList<tagbalance::Mark>& WritingAids::tagMarks() const {
    return m_tags->marks();
}

bool WritingAids::tagsSettled() const {
    return m_tags->settled();
}

void WritingAids::extendMenu(QMenu* menu, const QPoint& viewportPos) {
    writingaidsmenu::extend(*this, m_field, menu, viewportPos);
}

QString WritingAids::toolTipAt(const QPoint& viewportPos) const {
    if (!m_tagsOn)
        return {};
    return m_tags->messageAt(m_field->cursorForPosition(viewportPos).position());
}

void WritingAids::paint(QWidget* viewport, const QRect& rect) const {
    markpainter::paint(*m_field, viewport, rect, m_spelling->shown() ? m_spelling : nullptr,
                       m_tagsOn ? m_tags : nullptr);
}
