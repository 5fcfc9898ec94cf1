#include "editor/main_window.h"

#include <functional>

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QUndoStack>

#include "editor/editor_dialogs.h"
#include "editor/mission_panel.h"
#include "editor/recovery.h"

MainWindow::MainWindow()
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    panel_ = new MissionPanel(this);
    panel_->setObjectName(QStringLiteral("client"));
    setCentralWidget(panel_);
    setWindowIcon(panel_->windowIcon());
    CreateMenus();

    // The status line never widens the window: long notes are cut in the
    // middle, and the whole note is the tooltip.
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusLabel_->setMinimumWidth(1);
    checkLabel_ = new QLabel(this);
    checkLabel_->setObjectName(QStringLiteral("checkLabel"));
    checkProgress_ = new QProgressBar(this);
    checkProgress_->setRange(0, 0);  // busy: moves while the solver works
    checkProgress_->setMaximumWidth(60);
    cancelButton_ = new QPushButton(tr("Stop"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelCheckButton"));
    statusBar()->addWidget(statusLabel_, 1);
    statusBar()->addPermanentWidget(checkLabel_);
    statusBar()->addPermanentWidget(checkProgress_);
    statusBar()->addPermanentWidget(cancelButton_);
    statusBar()->setSizeGripEnabled(false);
    ShowChecking(false);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { panel_->CancelCheck(); });
    panel_->showStatus = [this](const QString& text) { ShowStatus(text); };
    panel_->checkRunning = [this](bool running) { ShowChecking(running); };
    panel_->checkProgress = [this](const QString& text) { checkLabel_->setText(text); };
    panel_->documentChanged = [this] { DocumentChanged(); };

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    DocumentChanged();
    panel_->findChild<QWidget*>(QStringLiteral("boardView"))->setFocus();
}

// The panel outlives this part of the window while Qt deletes the children:
// nothing it reports then may reach the window being taken down.
MainWindow::~MainWindow() {
    panel_->UndoStack().disconnect();  // the stack tells of its steps as it goes
    panel_->showStatus = nullptr;
    panel_->checkRunning = nullptr;
    panel_->checkProgress = nullptr;
    panel_->documentChanged = nullptr;
}

void MainWindow::CreateMenus() {
    const struct {
        const char* menu;
        const char* name;
        QString text;
        QList<QKeySequence> keys;
        std::function<void()> command;
    } items[] = {
        {"fileMenu", "newAction", tr("&New"), {QKeySequence(Qt::CTRL | Qt::Key_N)}, [this] { panel_->NewCommand(); }},
        {"fileMenu", "openAction", tr("&Open..."), {QKeySequence(Qt::CTRL | Qt::Key_O)},
         [this] { panel_->LoadCommand(); }},
        {"fileMenu", "saveAction", tr("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
         [this] { panel_->SaveCommand(); }},
        {"fileMenu", "saveAsAction", tr("Save &As..."), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
         [this] { panel_->SaveAsCommand(); }},
        {"fileMenu", "quitAction", tr("&Quit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { close(); }},
        {"editMenu", "undoAction", tr("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
         [this] { panel_->UndoStack().undo(); }},
        {"editMenu", "redoAction", tr("&Redo"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
         [this] { panel_->UndoStack().redo(); }},
        {"missionMenu", "testPlayAction", tr("&Test Play"), {QKeySequence(Qt::Key_F5)},
         [this] { panel_->TestPlayCommand(); }},
        {"missionMenu", "checkAction", tr("&Check Solvability"), {QKeySequence(Qt::Key_F6)},
         [this] { panel_->CheckCommand(false); }},
        {"missionMenu", "deepCheckAction", tr("Check &Longer"), {QKeySequence(Qt::SHIFT | Qt::Key_F6)},
         [this] { panel_->CheckCommand(true); }},
    };
    const QString menuTitles[] = {tr("&File"), tr("&Edit"), tr("&Mission")};
    const char* menuNames[] = {"fileMenu", "editMenu", "missionMenu"};
    QMenu* menus[3];
    for (int i = 0; i < 3; ++i) {
        menus[i] = menuBar()->addMenu(menuTitles[i]);
        menus[i]->setObjectName(QString::fromLatin1(menuNames[i]));
    }
    for (const auto& item : items) {
        int m = 0;
        while (qstrcmp(menuNames[m], item.menu) != 0) ++m;
        QAction* action = menus[m]->addAction(item.text);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcuts(item.keys);
        connect(action, &QAction::triggered, this, item.command);
        if (qstrcmp(item.name, "undoAction") == 0) undoAction_ = action;
        if (qstrcmp(item.name, "redoAction") == 0) redoAction_ = action;
    }
    FollowUndoStack();

    // F10 opens the menu bar, its first menu, from anywhere in the window.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] { menuBar()->setActiveAction(menuBar()->actions().first()); });
}

// Undo and Redo are the stack's, as its own actions would be, with the
// step's name after a colon in Japanese; the modified mark is its clean state.
void MainWindow::FollowUndoStack() {
    QUndoStack& stack = panel_->UndoStack();
    auto undoText = [this](const QString& step) {
        undoAction_->setText(step.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(step));
    };
    auto redoText = [this](const QString& step) {
        redoAction_->setText(step.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(step));
    };
    connect(&stack, &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
    connect(&stack, &QUndoStack::undoTextChanged, this, undoText);
    connect(&stack, &QUndoStack::redoTextChanged, this, redoText);
    connect(&stack, &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
    undoAction_->setEnabled(stack.canUndo());
    redoAction_->setEnabled(stack.canRedo());
    undoText(stack.undoText());
    redoText(stack.redoText());
}

// The title names the file; the mark says whether it has unsaved changes.
void MainWindow::DocumentChanged() {
    setWindowTitle(tr("%1[*] - %2").arg(panel_->DocumentName(), EditorTitle()));
    setWindowModified(panel_->Modified());
}

void MainWindow::ShowStatus(const QString& text) {
    statusText_ = text;
    int room = std::max(statusBar()->width() - 24, 100);
    if (checkLabel_->isVisible()) room -= checkLabel_->width() + checkProgress_->width() + cancelButton_->width();
    QString shown = statusLabel_->fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(room, 40));
    statusLabel_->setText(shown);
    statusLabel_->setToolTip(shown == text ? QString() : text);
}

QString MainWindow::StatusShown() const { return statusLabel_->text(); }

void MainWindow::ShowChecking(bool running) {
    checkLabel_->setVisible(running);
    checkProgress_->setVisible(running);
    cancelButton_->setVisible(running);
    if (!running) checkLabel_->clear();
    ShowStatus(statusText_);
}

// A close the author agreed to keeps nothing for the next start.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (panel_->MaybeKeepChanges()) {
        DisarmRecovery();
        event->accept();
    } else {
        event->ignore();
    }
}
