#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QWidget>

class QPushButton;
class QTextBrowser;
class QTextDocument;
class QUrl;

// "Vorschau – Beitragsbox": the post as the forum shows it, following the edit field. The post
// is parsed and laid out as a document in the background; the window only swaps documents, so
// a long post never holds up typing. Links open in the desktop's programs where they are safe.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* owner);
    ~PreviewWindow() override;

    // The post to show, or the part of a long one that begins at line `firstLine` (from 0), and
    // the caret's line; the newest wins when several come while one is being laid out.
    void showPost(const QString& post, const QStringList& smileys, int caretLine, int firstLine = 0,
                  bool whole = true);
    // Shows the part of the post where the caret's line is.
    void showCaretLine(int caretLine);
    // Posts up to this many characters are shown whole; of a longer one, about this much
    // around the caret.
    static constexpr qsizetype kShownWhole = 60'000;
    // Waits until the newest post handed over is shown (for tests and a first showing).
    void waitUntilShown();

    QTextBrowser* view() const { return m_view; }
    QPushButton* copyButton() const { return m_copy; }

    static QString title() { return QStringLiteral("Vorschau – Beitragsbox"); }

signals:
    void copyHtmlRequested();
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Layout;
    void startLayout();
    void laidOut(QTextDocument* document, const QList<int>& anchorLines, quint64 sequence);
    void scrollToCaretLine();
    void linkClicked(const QUrl& url);

    QTextBrowser* m_view = nullptr;
    QPushButton* m_copy = nullptr;
    QThreadPool m_layouts;
    // What is asked for, and what is shown.
    QString m_post;
    QStringList m_smileys;
    int m_caretLine = 0;
    int m_postFirstLine = 0;
    bool m_postWhole = true;
    QList<int> m_anchorLines; // of the shown document, in lines of the whole post
    int m_firstLine = 0;      // the post's line where the shown section begins
    QList<qint32> m_openSpoilers;
    quint64 m_asked = 0;
    quint64 m_started = 0;
    bool m_busy = false;
    int m_shownCaretLine = -1;
};
