// The main window's controls, their places and the resize rule.
#include "app/Form1.h"

#include "editor/TextField.h"
#include "platform/IntervalTimer.h"
#include "platform/ProgramIcon.h"
#include "platform/window_colors.h"
#include "platform/window_system.h"
#include "platform/window_twips.h"
#include "text/MainLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cmath>
#include <utility>

namespace {

// Client area of the window layout, in twips.
constexpr double kClientWidth = 5700;
constexpr double kClientHeight = 2400;

template <typename T> T* makeControl(QWidget* parent, const QString& name) {
    auto* control = new T(parent);
    control->setObjectName(name);
    return control;
}

} // namespace

void Form1::createControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Beitragsbox"));
    // Close and maximise; no minimise box: a minimised window without a task-bar entry
    // could not be found again.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);

    // The top row, in twips: left, width; all at the top, 255 high.
    struct TopRowDef {
        QAbstractButton* control;
        const char* caption;
        const char* tip;
        double left, width;
        void (Form1::*click)(); // buttons only
    };
    Check1 = makeControl<QCheckBox>(this, QStringLiteral("Check1"));
    Check2 = makeControl<QCheckBox>(this, QStringLiteral("Check2"));
    Check3 = makeControl<QCheckBox>(this, QStringLiteral("Check3"));
    Command1 = makeControl<QPushButton>(this, QStringLiteral("Command1"));
    Command2 = makeControl<QPushButton>(this, QStringLiteral("Command2"));
    Command3 = makeControl<QPushButton>(this, QStringLiteral("Command3"));
    Command4 = makeControl<QPushButton>(this, QStringLiteral("Command4"));
    Command5 = makeControl<QPushButton>(this, QStringLiteral("Command5"));
    cmdInfo = makeControl<QPushButton>(this, QStringLiteral("cmdInfo"));
    const TopRowDef topRow[] = {
        {Check1, "AQ",
         "Autoquote: Wenn aktiv, dann wird mit Strg-Q der Text aus der Zwischenablage als "
         "Zitat eingefügt.",
         60, 615, nullptr},
        {Check2, "AS",
         "Autosave: Der Text wird regelmäßig in der Datei \"autosave.txt\" gesichert. "
         "Intervall einstellbar unter \"Opt\".",
         720, 615, nullptr},
        {Check3, "AOT", "Always on Top: Das Programm bleibt immer im Vordergrund.", 1320, 735,
         nullptr},
        {Command1, "Q", "Zitat mit Strg-Q", 2160, 375, &Form1::Command1_Click},
        {Command2, "F", "Fett mit Strg-F oder Strg-B", 2520, 375, &Form1::Command2_Click},
        {Command3, "K", "Kursiv mit Strg-K", 2880, 375, &Form1::Command3_Click},
        {Command4, "URL", "URL mit Strg-U", 3240, 495, &Form1::Command4_Click},
        {Command5, "L", "Liste mit Strg-L", 3720, 375, &Form1::Command5_Click},
        {cmdInfo, "Opt", "Optionen", 4080, 420, &Form1::cmdInfo_Click},
    };
    for (const TopRowDef& d : topRow) {
        d.control->setText(QString::fromUtf8(d.caption));
        d.control->setToolTip(QString::fromUtf8(d.tip));
        window::placeTwips(d.control, d.left, 0, d.width, 255);
        if (auto* button = qobject_cast<QPushButton*>(d.control)) {
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, d.click);
        }
    }

    Combo1 = makeControl<QComboBox>(this, QStringLiteral("Combo1"));
    Combo1->setEditable(false);
    window::placeTwips(Combo1, 4575, 0, 1095, 315);

    Text1 = makeControl<TextField>(this, QStringLiteral("Text1"));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(9.75);
    font.setStyleHint(QFont::Monospace);
    Text1->setFont(font);
    window::placeTwips(Text1, mainlayout::kText1Left, 360, 4455, 2010);

    List1 = makeControl<QListWidget>(this, QStringLiteral("List1"));
    window::placeTwips(List1, 4560, 360, 1095, 1815);

    setWindowIcon(programIcon());
    picSysTrayIcon = makeControl<QLabel>(this, QStringLiteral("picSysTrayIcon"));
    picSysTrayIcon->setPixmap(programIcon().pixmap(32, 32));
    window::placeTwips(picSysTrayIcon, 4800, 960, 615, 615);
    picSysTrayIcon->hide();

    // What a screen reader says instead of the abbreviated captions; the tool tip explains.
    const std::pair<QWidget*, const char*> spokenNames[] = {
        {Check1, "Autoquote"},
        {Check2, "Autosave"},
        {Check3, "Immer im Vordergrund"},
        {Command1, "Zitat"},
        {Command2, "Fett"},
        {Command3, "Kursiv"},
        {Command4, "Link"},
        {Command5, "Liste"},
        {cmdInfo, "Optionen"},
        {Text1, "Beitragstext"},
        {Combo1, "Schnell-Texte"},
        {List1, "Smilies"},
        {picSysTrayIcon, "Programmsymbol"},
    };
    for (const auto& [control, name] : spokenNames) {
        control->setAccessibleName(QString::fromUtf8(name));
        control->setAccessibleDescription(control->toolTip());
    }

    Timer1 = new IntervalTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10000);
    Timer1->setEnabled(false);

    resetColors(); // until the settings are applied

    connect(Check3, &QCheckBox::stateChanged, this, [this] { Check3_Click(); });
    // AS is the autosave switch its tool tip promises: the timer runs while it is ticked.
    connect(Check2, &QCheckBox::stateChanged, this, [this] {
        Timer1->setEnabled(Check2->checkState() != Qt::Unchecked);
        if (m_loaded)
            keepAutosaveRunning();
    });
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    // The wheel over the closed drop-down would step through the entries, and each step counts
    // as a pick: whoever scrolls with the mouse over it would insert quick texts unawares. Nor
    // does the wheel take the focus from the edit field, here or over the smiley list.
    Combo1->installEventFilter(this);
    Combo1->setFocusPolicy(Qt::StrongFocus);
    List1->setFocusPolicy(Qt::StrongFocus);
    // Each click inserts once, so a double-click inserts twice, and Enter inserts; moving
    // through the list with the arrow keys does not. "activated" is left alone: on a desktop
    // that activates items on a single click it would come on top of the click.
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_Click(); });
    List1->installEventFilter(this);
    connect(Timer1, &IntervalTimer::ticked, this, [this] { Timer1_Timer(); });

    // Tab order: the edit field first, then the layout's numbers.
    QWidget* order[] = {Text1,   Command1, Command2, Command3, List1,  Command4,
                        cmdInfo, Check1,   Check2,   Check3,   Combo1, Command5};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    Text1->setFocus();

    const double tx = window::twipsPerPixelX(this);
    const double ty = window::twipsPerPixelY(this);
    // The resize rule never needs less; the height is also held by Form_Resize itself.
    setMinimumSize(int(std::ceil((1306 - mainlayout::kFrameWidth) / tx)),
                   int(std::ceil((mainlayout::kMinHeight - mainlayout::kFrameHeight) / ty)));
    window::resizeTwips(this, kClientWidth, kClientHeight);
}

void Form1::setColor(ColorGroup group, qint32 value) {
    QList<QWidget*> targets;
    switch (group) {
    case ColorGroup::Text:
        window::setForeColor(Text1, value);
        return;
    case ColorGroup::Window:
        targets = {this, Check1, Check2, Check3};
        break;
    case ColorGroup::TextArea:
        targets = {Text1, Combo1, List1};
        break;
    case ColorGroup::Buttons:
        targets = {Command1, Command2, Command3, Command4, Command5, cmdInfo};
        break;
    }
    for (QWidget* target : targets)
        window::setBackColor(target, value);
}

void Form1::resetColors() {
    setColor(ColorGroup::Window, window::kButtonFace);
    setColor(ColorGroup::Text, window::kWindowText);
    setColor(ColorGroup::TextArea, window::kWindowBackground);
    setColor(ColorGroup::Buttons, window::kButtonFace);
}

void Form1::Form_Resize() {
    if (isMinimized())
        return;
    const double tx = window::twipsPerPixelX(this);
    const double ty = window::twipsPerPixelY(this);
    const MainLayout l = computeMainLayout(width() * tx + mainlayout::kFrameWidth,
                                           height() * ty + mainlayout::kFrameHeight);
    if (l.heightRaised)
        resize(width(), int(std::ceil((l.windowHeight - mainlayout::kFrameHeight) / ty)));
    window::placeTwips(Text1, mainlayout::kText1Left, 360, l.text1Width, l.text1Height);
    window::placeTwips(List1, l.list1Left, 360, 1095, l.list1Height);
    window::placeTwips(Combo1, l.combo1Left, 0, 1095, 315);
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Combo1 && event->type() == QEvent::Wheel)
        return true;
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            List1_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool Form1::event(QEvent* event) {
    // A re-created native window starts without the task-bar state.
    if (event->type() == QEvent::WinIdChange)
        updateTaskbarEntry();
    return QWidget::event(event);
}

void Form1::showEvent(QShowEvent* event) {
    // Before each mapping: the window manager may drop the state when the window was hidden.
    updateTaskbarEntry();
    QWidget::showEvent(event);
}

void Form1::updateTaskbarEntry() {
    window::setSkipTaskbar(this, closeBoxHides());
}
