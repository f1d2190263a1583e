// The floor for start-up and idle memory: a bare Qt window with one QPlainTextEdit, started the
// same way as the editor, so that the editor's own share shows beside it.
#include <QApplication>
#include <QPlainTextEdit>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QPlainTextEdit edit;
    edit.setWindowTitle(QStringLiteral("floor"));
    edit.resize(640, 480);
    edit.show();
    return QApplication::exec();
}
