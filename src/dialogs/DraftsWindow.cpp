#include "dialogs/DraftsWindow.h"

#include "platform/boxes.h"
#include "platform/clipboard.h"
#include "platform/draftfolder.h"
#include "platform/files.h"
#include "text/EditBuffer.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

DraftsWindow::DraftsWindow(const QString& folder, const QString& ownName, QWidget* owner)
    : QDialog(owner), m_folder(folder), m_ownName(ownName) {
    m_counting.setMaxThreadCount(1);
    setWindowTitle(QStringLiteral("Frühere Entwürfe"));
    setModal(false);

    m_list = new QListWidget(this);
    m_list->setAccessibleName(QStringLiteral("Entwürfe, neueste zuerst"));
    // Long first lines end in an ellipsis instead of widening the list.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setSpacing(2);
    auto* listLabel = new QLabel(QStringLiteral("&Entwürfe:"), this);
    listLabel->setBuddy(m_list);

    m_preview = new QPlainTextEdit(this);
    m_preview->setReadOnly(true);
    m_preview->setAccessibleName(QStringLiteral("Text des Entwurfs"));
    auto* previewLabel = new QLabel(QStringLiteral("&Text:"), this);
    previewLabel->setBuddy(m_preview);

    m_empty = new QLabel(QStringLiteral("Es gibt noch keine Entwürfe. Jeder Lauf des Programms "
                                        "hinterlässt einen, sobald etwas geschrieben wurde."),
                         this);
    m_empty->setWordWrap(true);

    m_load = new QPushButton(QStringLiteral("&Laden"), this);
    m_load->setAccessibleDescription(
        QStringLiteral("Ersetzt den Text im Editor; Rückgängig holt ihn zurück"));
    m_load->setDefault(true);
    m_copy = new QPushButton(QStringLiteral("&Kopieren"), this);
    m_copy->setAccessibleDescription(QStringLiteral("Kopiert den Entwurf in die Zwischenablage"));
    m_delete = new QPushButton(QStringLiteral("L&öschen"), this);
    m_delete->setAccessibleDescription(QStringLiteral("Löscht den Entwurf nach einer Rückfrage"));
    m_close = new QPushButton(QStringLiteral("&Schließen"), this);

    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(m_list, 1);
    left->addWidget(m_empty);
    auto* right = new QVBoxLayout;
    right->addWidget(previewLabel);
    right->addWidget(m_preview, 1);
    auto* panes = new QHBoxLayout;
    panes->addLayout(left, 2);
    panes->addLayout(right, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_load);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes, 1);
    layout->addLayout(buttons);
    setTabOrder(m_list, m_preview);
    resize(fontMetrics().averageCharWidth() * 130, fontMetrics().height() * 28);

    connect(m_load, &QPushButton::clicked, this, &DraftsWindow::loadSelected);
    connect(m_copy, &QPushButton::clicked, this, &DraftsWindow::copySelected);
    connect(m_delete, &QPushButton::clicked, this, &DraftsWindow::deleteSelected);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_list, &QListWidget::currentRowChanged, this, &DraftsWindow::showSelected);
    connect(m_list, &QListWidget::itemActivated, this, &DraftsWindow::loadSelected);
    m_list->installEventFilter(this);
}

bool DraftsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Entf in the list deletes, as in a file manager.
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        deleteSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

DraftsWindow::~DraftsWindow() {
    m_counting.clear();
    m_counting.waitForDone();
}

void DraftsWindow::open() {
    refresh();
    show();
    raise();
    activateWindow();
    m_list->setFocus();
}

QString DraftsWindow::rowText(int row) const {
    const Row& r = m_rows[row];
    QString heading = drafts::rowHeading(r.draft.written, r.characters);
    if (r.own)
        heading.prepend(QStringLiteral("Dieser Lauf: "));
    else if (r.draft.running)
        heading.prepend(QStringLiteral("Läuft noch: "));
    // Two lines: when and how long, then how it begins.
    return heading + QLatin1Char('\n') + r.firstLine;
}

void DraftsWindow::refresh() {
    const quint64 generation = ++m_generation;
    m_counting.clear(); // counts for the rows of the last reading are not needed any more
    QList<drafts::Draft> found = draftfolder::list(m_folder);
    drafts::sortNewestFirst(found);
    m_rows.clear();
    m_list->clear();
    const QDir folder(m_folder);
    for (const drafts::Draft& draft : found) {
        const draftfolder::Head head = draftfolder::readHead(folder.filePath(draft.name));
        m_rows << Row{draft, head.firstLine, head.characters, draft.name == m_ownName};
        m_list->addItem(rowText(int(m_rows.size() - 1)));
        if (!head.ok || head.characters >= 0)
            continue;
        // A long draft is counted in the background; the row gets its length when done.
        const QString path = folder.filePath(draft.name);
        const int row = int(m_rows.size() - 1);
        m_counting.start([this, path, row, generation] {
            const qint64 characters = draftfolder::countCharacters(path);
            QMetaObject::invokeMethod(this, [this, row, generation, characters] {
                if (m_generation != generation || characters < 0)
                    return;
                m_rows[row].characters = characters;
                m_list->item(row)->setText(rowText(row));
            });
        });
    }
    const bool any = !m_rows.isEmpty();
    m_empty->setVisible(!any);
    m_list->setCurrentRow(any ? 0 : -1);
    showSelected();
}

QString DraftsWindow::selectedPath() const {
    const int row = m_list->currentRow();
    return row < 0 ? QString() : QDir(m_folder).filePath(m_rows[row].draft.name);
}

namespace {

files::ReadResult readDraft(const QString& path) {
    files::ReadResult read = files::readTextFile(path);
    read.text = withoutClosingBreak(read.text);
    return read;
}

} // namespace

bool DraftsWindow::readSelected(QString* text) {
    const QString path = selectedPath();
    if (path.isEmpty())
        return false;
    const files::ReadResult read = readDraft(path);
    if (!read.ok) {
        boxes::MsgBox(QStringLiteral("Der Entwurf \"%1\" konnte nicht gelesen werden.\n%2")
                          .arg(path, read.reason));
        return false;
    }
    *text = read.text;
    return true;
}

void DraftsWindow::showSelected() {
    const int row = m_list->currentRow();
    const bool selected = row >= 0;
    m_load->setEnabled(selected);
    m_copy->setEnabled(selected);
    // A running program writes its draft again: deleting it would not last.
    m_delete->setEnabled(selected && !m_rows[row].draft.running);
    QString text;
    if (selected) {
        const files::ReadResult read = readDraft(selectedPath());
        text = read.ok ? read.text : read.reason;
    }
    m_preview->setPlainText(text);
}

void DraftsWindow::loadSelected() {
    QString text;
    if (!readSelected(&text))
        return;
    emit loadRequested(text);
    close();
}

void DraftsWindow::copySelected() {
    QString text;
    if (readSelected(&text))
        clipboard::setClipboardText(text);
}

void DraftsWindow::deleteSelected() {
    const int row = m_list->currentRow();
    if (row < 0 || !m_delete->isEnabled())
        return;
    const QString when = drafts::rowHeading(m_rows[row].draft.written, -1);
    if (!boxes::AskYesNo(
            QStringLiteral("Den Entwurf vom %1 löschen? Er lässt sich nicht zurückholen.")
                .arg(when)))
        return;
    const QString path = selectedPath();
    const files::WriteResult removed = files::removeFile(path);
    if (!removed.ok) {
        boxes::MsgBox(QStringLiteral("Der Entwurf \"%1\" konnte nicht gelöscht werden.\n%2")
                          .arg(path, removed.reason));
        return;
    }
    refresh();
    m_list->setCurrentRow(std::min(row, int(m_rows.size()) - 1));
}
