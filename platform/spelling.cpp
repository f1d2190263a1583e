#include "platform/spelling.h"

#include <QStandardPaths>

namespace spelling {

QList<Dictionary> installedDictionaries() {
    return {}; // placeholder until the engine lands
}

QString personalListPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/woerterbuch.txt");
}

} // namespace spelling

struct SpellChecker::Worker {};

SpellChecker::SpellChecker(QObject* parent) : QObject(parent) {}
SpellChecker::~SpellChecker() = default;
void SpellChecker::load(const QString&) {
    emit ready(false);
}
bool SpellChecker::isReady() const {
    return false;
}
QString SpellChecker::language() const {
    return {};
}
SpellChecker::State SpellChecker::state(const QString&) {
    return State::Pending;
}
QStringList SpellChecker::suggestions(const QString&, int) {
    return {};
}
files::WriteResult SpellChecker::addToPersonalList(const QString&) {
    return {};
}
void SpellChecker::ignore(const QString&) {}
