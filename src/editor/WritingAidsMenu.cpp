#include "editor/WritingAidsMenu.h"

#include "editor/TextField.h"
#include "editor/WritingAids.h"
#include "platform/mnemonics.h"
#include "spelling/SpellingEngine.h"

#include <QActionGroup>
#include <QLocale>
#include <QMenu>
#include <QTextCursor>

namespace writingaidsmenu {

namespace {

constexpr int kMaxSuggestions = 7;
// The right-click menu shows "Keine Vorschläge" when the engine needs longer (long compounds
// take it seconds); what it finds later still comes into a menu that is open.
constexpr int kSuggestionLimitMs = 300;

QString languageLabel(const QString& language) {
    const QLocale locale(language);
    if (locale.language() == QLocale::C)
        return language;
    return QStringLiteral("%1 (%2)").arg(locale.nativeLanguageName(), locale.nativeTerritoryName());
}

void replaceWord(TextField* field, qsizetype start, const QString& word,
                 const QString& replacement) {
    QTextCursor cursor(field->document());
    cursor.setPosition(int(start));
    cursor.setPosition(int(start + word.size()), QTextCursor::KeepAnchor);
    if (cursor.selectedText() != word)
        return;
    // One edit block, so one undo step.
    cursor.beginEditBlock();
    cursor.insertText(replacement);
    cursor.endEditBlock();
    field->setTextCursor(cursor);
}

} // namespace

void extend(WritingAids& aids, TextField* field, QMenu* menu, const QPoint& viewportPos) {
    QAction* top = menu->actions().value(0);
    const SpellingMarks::WordAt misspelt = aids.misspeltAt(viewportPos);
    SpellingEngine& engine = aids.checker();
    if (misspelt.start >= 0) {
        // The engine needs from a tenth of a second to many seconds: the menu does not wait.
        auto* searching = new QAction(QStringLiteral("Vorschläge werden gesucht …"), menu);
        searching->setEnabled(false);
        menu->insertAction(top, searching);
        const quint64 request =
            engine.requestSuggestions(misspelt.word, kMaxSuggestions, kSuggestionLimitMs);
        QObject::connect(&engine, &SpellingEngine::suggestionsFound, searching,
                         [field, menu, searching, request,
                          misspelt](quint64 answered, const QStringList& suggestions) {
                             if (answered != request)
                                 return;
                             if (suggestions.isEmpty()) {
                                 searching->setText(QStringLiteral("Keine Vorschläge"));
                                 return;
                             }
                             for (const QString& suggestion : suggestions) {
                                 auto* action = new QAction(suggestion, menu);
                                 QFont bold = action->font();
                                 bold.setBold(true);
                                 action->setFont(bold);
                                 QObject::connect(action, &QAction::triggered, field,
                                                  [field, misspelt, suggestion] {
                                                      replaceWord(field, misspelt.start,
                                                                  misspelt.word, suggestion);
                                                  });
                                 menu->insertAction(searching, action);
                             }
                             menu->removeAction(searching);
                             searching->deleteLater();
                             // The words came after the menu got its mnemonics.
                             mnemonics::addMissing(menu);
                         });
        auto* add = new QAction(QStringLiteral("Zum Wörterbuch hinzufügen"), menu);
        QObject::connect(add, &QAction::triggered, &aids,
                         [&aids, word = misspelt.word] { aids.addWord(word); });
        auto* ignore = new QAction(QStringLiteral("Ignorieren"), menu);
        QObject::connect(ignore, &QAction::triggered, &aids,
                         [&aids, word = misspelt.word] { aids.ignoreWord(word); });
        menu->insertActions(top, {add, ignore});
        if (top)
            menu->insertSeparator(top);
    }

    menu->addSeparator();
    const bool installed = aids.dictionaryInstalled();
    const auto addSwitch = [&aids, menu](const QString& text, bool checked, bool enabled,
                                         void (WritingAids::*set)(bool)) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(checked);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::toggled, &aids, set);
    };
    addSwitch(installed ? QStringLiteral("Rechtschreibprüfung")
                        : QStringLiteral("Rechtschreibprüfung (kein Wörterbuch installiert)"),
              installed && aids.spellChecking(), installed, &WritingAids::setSpellChecking);
    QMenu* languages = menu->addMenu(QStringLiteral("Sprache"));
    languages->setEnabled(installed);
    auto* group = new QActionGroup(languages);
    for (const QString& language : aids.installedLanguages()) {
        QAction* choice = languages->addAction(languageLabel(language));
        choice->setCheckable(true);
        choice->setChecked(language == aids.language());
        group->addAction(choice);
        QObject::connect(choice, &QAction::triggered, &aids,
                         [&aids, language] { aids.setLanguage(language); });
    }
    // Which of the dictionaries found for the language is in use: a broken one gives way.
    if (const QString file = engine.dictionaryFile(); !file.isEmpty()) {
        languages->addSeparator();
        languages->addAction(QStringLiteral("Wörterbuch: %1").arg(file))->setEnabled(false);
    }
    addSwitch(QStringLiteral("Zitate prüfen"), aids.quotesChecked(),
              installed && aids.spellChecking(), &WritingAids::setQuotesChecked);
    addSwitch(QStringLiteral("Tags prüfen"), aids.tagCheck(), true, &WritingAids::setTagCheck);
}

} // namespace writingaidsmenu
