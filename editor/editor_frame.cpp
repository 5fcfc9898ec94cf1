#include "editor/editor_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "editor/editor_dialogs.h"
#include "editor/main_window.h"

namespace {
QString Utf8(const char* text) { return QString::fromUtf8(text); }
}  // namespace

EditorFrame::EditorFrame()
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    client_ = new EditorWindow(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    setWindowTitle(EditorTitle());
    setWindowIcon(client_->windowIcon());
    CreateMenus();

    checkLabel_ = new QLabel(Utf8("解けるか調べています…"), this);
    checkProgress_ = new QProgressBar(this);
    checkProgress_->setRange(0, 0);  // busy: moves while the solver works
    checkProgress_->setMaximumWidth(80);
    cancelButton_ = new QPushButton(Utf8("中止"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelCheckButton"));
    statusBar()->addPermanentWidget(checkLabel_);
    statusBar()->addPermanentWidget(checkProgress_);
    statusBar()->addPermanentWidget(cancelButton_);
    statusBar()->setSizeGripEnabled(false);
    ShowChecking(false);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { client_->CancelCheck(); });
    client_->showStatus = [this](const QString& text) { statusBar()->showMessage(text); };
    client_->checkRunning = [this](bool running) { ShowChecking(running); };

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void EditorFrame::CreateMenus() {
    struct Item {
        const char* menu;
        const char* name;
        const char* text;
        QList<QKeySequence> keys;
        void (EditorWindow::*command)();
    };
    const Item items[] = {
        {"ファイル", "newAction", "新規", {QKeySequence(Qt::CTRL | Qt::Key_N)}, &EditorWindow::NewCommand},
        {"ファイル", "openAction", "開く…", {QKeySequence(Qt::CTRL | Qt::Key_O)}, &EditorWindow::LoadCommand},
        {"ファイル", "saveAction", "保存…", {QKeySequence(Qt::CTRL | Qt::Key_S)}, &EditorWindow::SaveCommand},
        {"ファイル", "quitAction", "終了", {QKeySequence(Qt::CTRL | Qt::Key_Q)}, nullptr},
        {"編集", "undoAction", "元に戻す", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &EditorWindow::UndoCommand},
        {"編集", "redoAction", "やり直す",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
         &EditorWindow::RedoCommand},
        {"ミッション", "testPlayAction", "試しに遊ぶ", {QKeySequence(Qt::Key_F5)}, &EditorWindow::TestPlayCommand},
        {"ミッション", "checkAction", "解けるか調べる", {QKeySequence(Qt::Key_F6)}, &EditorWindow::CheckCommand},
    };
    QMenu* menu = nullptr;
    for (const Item& item : items) {
        if (menu == nullptr || menu->title() != Utf8(item.menu)) menu = menuBar()->addMenu(Utf8(item.menu));
        QAction* action = menu->addAction(Utf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcuts(item.keys);
        if (item.command == nullptr)
            connect(action, &QAction::triggered, this, [this] { close(); });
        else
            connect(action, &QAction::triggered, client_, item.command);
    }
}

void EditorFrame::ShowChecking(bool running) {
    checkLabel_->setVisible(running);
    checkProgress_->setVisible(running);
    cancelButton_->setVisible(running);
}

void EditorFrame::closeEvent(QCloseEvent* event) {
    if (client_->ConfirmQuit())
        event->accept();
    else
        event->ignore();
}
