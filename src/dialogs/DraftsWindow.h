#pragma once
#include <QDialog>
#include <QList>
#include <QThreadPool>

#include "text/Drafts.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Frühere Entwürfe": the drafts of this and earlier runs, newest first, with the selected
// one's text beside the list. Loading one hands its text to the owner and closes the window.
class DraftsWindow : public QDialog {
    Q_OBJECT
public:
    // ownName: this run's draft, marked in the list.
    DraftsWindow(const QString& folder, const QString& ownName, QWidget* owner);
    ~DraftsWindow() override;

    // Reads the folder again and shows the window in front, the newest draft selected.
    void open() override;

    QListWidget* list() const { return m_list; }
    QPlainTextEdit* preview() const { return m_preview; }
    QPushButton* loadButton() const { return m_load; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* deleteButton() const { return m_delete; }

    void loadSelected();
    void copySelected();
    void deleteSelected();

signals:
    void loadRequested(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void showSelected();
    QString selectedPath() const;
    // The selected draft's whole text; empty with a message when it cannot be read.
    bool readSelected(QString* text);
    QString rowText(int row) const;

    struct Row {
        drafts::Draft draft;
        QString firstLine;
        qint64 characters = -1;
        bool own = false;
    };
    QString m_folder;
    QString m_ownName;
    QList<Row> m_rows;
    quint64 m_generation = 0; // counts the readings of the folder
    // Counts the characters of long drafts; the window's end waits for the count under way.
    QThreadPool m_counting;

    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QLabel* m_empty = nullptr;
    QPushButton* m_load = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_close = nullptr;
};
