#include "editor/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTemporaryDir>

#include "editor/check_answer.h"
#include "editor/edit_history.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_model.h"
#include "editor/mission_io.h"
#include "editor/view_widgets.h"
#include "resources/editor/editor_sheet.h"

namespace {
QString Utf8(const char* text) { return QString::fromUtf8(text); }

QIcon EditorIcon() {
    int size = 0;
    const uint32_t* pixels = EditorIconPixels(&size);
    QImage image(reinterpret_cast<const uchar*>(pixels), size, size, QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(image.copy()));
}

template <typename T>
T* Place(T* widget, const char* name, int x, int y, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

QString FirstLine(const QByteArray& text) { return QString::fromLocal8Bit(text).section(QLatin1Char('\n'), 0, 0); }

SolverAnswer ReadAnswer(const QJsonObject& o) {
    SolverAnswer a;
    a.goalType = o.value("goal_type").toInt();
    a.randomPairs = o.value("random_pairs").toBool();
    a.pairs = o.value("pairs").toInt();
    a.clearable = o.value("clearable").toBool();
    a.decided = o.value("decided").toBool(true);
    a.shortest = o.value("shortest").isDouble() ? o.value("shortest").toInt() : -1;
    a.ways = o.value("ways").toInteger();
    a.waysAtLeast = o.value("ways_at_least").toBool();
    a.hasDifficulty = o.value("difficulty").isDouble();
    a.difficulty = o.value("difficulty").toDouble();
    return a;
}
}  // namespace

EditorWindow::EditorWindow(QWidget* parent)
    : QWidget(parent, parent ? Qt::Widget
                             : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(EditorTitle());
    setWindowIcon(EditorIcon());
    setFixedSize(512, 528);
    CreateControls();
    programFolder_ = QCoreApplication::applicationDirPath();
}

EditorWindow::~EditorWindow() = default;

// Later siblings lie above earlier ones, so the number field sits on the goal
// group and the queue view on the Next group, as the views must receive clicks.
void EditorWindow::CreateControls() {
    newButton_ = Place(new QPushButton(QStringLiteral("NEW"), this), "newButton", 284, 491, 64, 21);
    saveButton_ = Place(new QPushButton(QStringLiteral("SAVE..."), this), "saveButton", 358, 491, 64, 21);
    loadButton_ = Place(new QPushButton(QStringLiteral("LOAD..."), this), "loadButton", 432, 491, 64, 21);
    goalGroup_ = Place(new QGroupBox(Utf8("ミッションの種類"), this), "goalGroup", 288, 256, 208, 144);
    numberField_ = Place(new QLineEdit(QString::fromStdString(NumberFieldText), this), "numberField", 420, 272, 60, 20);
    numberField_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), numberField_));
    for (int i = 0; i < 6; ++i) {
        QByteArray name = "goalRadio" + QByteArray::number(i);
        radios_[size_t(i)] = Place(new QRadioButton(goalGroup_), name.constData(), 16, 16 + 20 * i,
                                   i == 0 ? 108 : 176, 20);
    }
    numberField_->raise();
    UpdateGoalCaptions();
    CheckRadio(GoalRadio);

    nextGroup_ = Place(new QGroupBox(QStringLiteral("Next"), this), "nextGroup", 288, 16, 208, 224);
    queueView_ = Place(new QueueView(this), "queueView", 304, 48, QueueViewWidth, QueueViewHeight);
    for (int i = 0; i < 8; ++i) {
        QByteArray name = "pairLabel" + QByteArray::number(i);
        pairLabels_[size_t(i)] = Place(new QLabel(QString::number(i + 1), nextGroup_), name.constData(),
                                       48 * (i % 4) + 16, 80 * (i / 4) + 20, 32, 12);
        pairLabels_[size_t(i)]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    pairCountBar_ = Place(new QScrollBar(Qt::Horizontal, this), "pairCountBar", 304, 208, 176, 16);
    pairCountBar_->setRange(0, 7);
    pairCountBar_->setPageStep(1);
    pairCountBar_->setSingleStep(1);
    pairCountBar_->setTracking(false);
    ShowPairCount();

    boardView_ = Place(new BoardView(this), "boardView", 16, 16, BoardViewWidth, BoardViewHeight);
    plainPalette_ = Place(new PaletteView(this, false, [this] { RedrawPalettes(); }), "plainPalette", 16, 416,
                          PlainPaletteWidth, PaletteHeight);
    framedPalette_ = Place(new PaletteView(this, true, [this] { RedrawPalettes(); }), "framedPalette", 48, 448,
                           FramedPaletteWidth, PaletteHeight);
    RedrawPalettes();

    connect(newButton_, &QPushButton::clicked, this, [this] { NewCommand(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveCommand(); });
    connect(loadButton_, &QPushButton::clicked, this, [this] { LoadCommand(); });
    connect(numberField_, &QLineEdit::textChanged, this, [this](const QString& text) {
        SetNumberText(text.toStdString());
        UpdateGoalCaptions();
    });
    connect(numberField_, &QLineEdit::editingFinished, this, [] { FinishNumberEdit(); });
    for (int i = 0; i < 6; ++i)
        connect(radios_[size_t(i)], &QRadioButton::toggled, this, [i](bool on) {
            if (on) SetGoalRadio(i);
        });
    connect(pairCountBar_, &QScrollBar::actionTriggered, this, [this](int action) { ScrollBarAction(action); });
    connect(pairCountBar_, &QScrollBar::valueChanged, this, [this](int value) { ScrollBarValue(value); });
    connect(pairCountBar_, &QScrollBar::sliderReleased, this,
            [this] { ScrollBarValue(pairCountBar_->sliderPosition()); });
}

void EditorWindow::UpdateGoalCaptions() {
    std::string text = numberField_->text().toStdString();
    for (int i = 0; i < 6; ++i) radios_[size_t(i)]->setText(QString::fromStdString(GoalCaption(i, text)));
}

// The scroll bar's actions as the codes of the model; dragging the thumb
// changes nothing until it is released.
void EditorWindow::ScrollBarAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: ApplyScrollCode(ScrollLineLeft, 0); break;
    case QAbstractSlider::SliderSingleStepAdd: ApplyScrollCode(ScrollLineRight, 0); break;
    case QAbstractSlider::SliderPageStepSub: ApplyScrollCode(ScrollPageLeft, 0); break;
    case QAbstractSlider::SliderPageStepAdd: ApplyScrollCode(ScrollPageRight, 0); break;
    case QAbstractSlider::SliderToMinimum: ApplyScrollCode(ScrollLeft, 0); break;
    case QAbstractSlider::SliderToMaximum: ApplyScrollCode(ScrollRight, 0); break;
    case QAbstractSlider::SliderMove:
        if (pairCountBar_->isSliderDown()) return;  // tracking: wait for the release
        ApplyScrollCode(ScrollThumbPosition, pairCountBar_->sliderPosition());
        break;
    default: return;
    }
    pairCountBar_->setSliderPosition(PairCountPosition);
    ShowPairCount();
}

// Whatever else sets the value (the context menu's "Scroll here", a release
// of the thumb) is a thumb position: the pair count follows the thumb.
void EditorWindow::ScrollBarValue(int value) {
    if (pairCountBar_->isSliderDown() || value == PairCountPosition) return;
    ApplyScrollCode(ScrollThumbPosition, value);
    ShowPairCount();
}

void EditorWindow::ShowPairCount() {
    pairCountBar_->blockSignals(true);
    pairCountBar_->setValue(PairCountPosition);
    pairCountBar_->blockSignals(false);
    for (int i = 0; i < 8; ++i) pairLabels_[size_t(i)]->setEnabled(PairLabelEnabled(i));
}

// Every control from the model, without the controls reporting back.
void EditorWindow::ShowDocument(bool cursorsAtOrigin) {
    ShowPairCount();
    CheckRadio(GoalRadio);
    QString text = QString::fromStdString(NumberFieldText);
    if (numberField_->text() != text) {
        numberField_->blockSignals(true);
        numberField_->setText(text);
        numberField_->blockSignals(false);
    }
    UpdateGoalCaptions();
    boardView_->Redraw(cursorsAtOrigin ? 0 : BoardCursor.column, cursorsAtOrigin ? 0 : BoardCursor.row);
    queueView_->Redraw(cursorsAtOrigin ? 0 : QueueCursor.pair, cursorsAtOrigin ? 0 : QueueCursor.half);
}

void EditorWindow::CheckRadio(int radio) {
    for (int i = 0; i < 6; ++i) {
        QRadioButton* r = radios_[size_t(i)];
        r->blockSignals(true);
        r->setAutoExclusive(false);
        r->setChecked(i == radio);
        r->setAutoExclusive(true);
        r->blockSignals(false);
    }
}

void EditorWindow::RedrawPalettes() {
    DrawPalettes(plainPalette_->MutableImage(), framedPalette_->MutableImage());
    plainPalette_->update();
    framedPalette_->update();
}

void EditorWindow::Status(const QString& text) {
    lastStatus_ = text;
    if (showStatus) showStatus(text);
}

QString EditorWindow::DialogStart() const { return lastPath_.isEmpty() ? programFolder_ : lastPath_; }

void EditorWindow::NewCommand() {
    if (!AskOkCancel(this, Utf8("クリアしてよろしいですか。"))) return;
    NewMission();
    ShowDocument(true);
    RedrawPalettes();
}

void EditorWindow::SaveCommand() {
    FinishNumberEdit();
    SetPieceLimitFromScrollBar();
    if (FirstUnfilledPair() >= 0) {
        ShowWarning(this, Utf8("Nextはブロックを埋めてください。"));
        return;
    }
    QString path = ChooseSavePath(this, DialogStart());
    if (path.isEmpty()) return;
    lastPath_ = path;
    SetGoalForSave(GoalRadio, NumberFieldText);
    std::string reason;
    if (!WriteMissionFile(QFile::encodeName(path).toStdString(), EditorMissionBytes(), &reason))
        ShowWarning(this, Utf8("保存できませんでした。\n%1\n%2").arg(path, QString::fromLocal8Bit(reason.c_str())));
}

void EditorWindow::LoadCommand() {
    QString path = ChooseOpenPath(this, DialogStart());
    if (path.isEmpty()) return;
    lastPath_ = path;
    MissionBytes bytes{};
    size_t size = 0;
    std::string reason;
    if (!ReadMissionFile(QFile::encodeName(path).toStdString(), bytes, &size, &reason)) {
        ShowWarning(this, Utf8("読み込めませんでした。\n%1\n%2").arg(path, QString::fromLocal8Bit(reason.c_str())));
        return;
    }
    LoadEditorMission(bytes.data(), size);
    ShowDocument(true);
    qint64 fileSize = QFileInfo(path).size();
    if (fileSize < qint64(MissionFileSize))
        Status(Utf8("%1 は %2 バイトで、294 バイトに足りません。読めた分だけ読み込みました。")
                   .arg(QFileInfo(path).fileName()).arg(fileSize));
    else if (fileSize > qint64(MissionFileSize))
        Status(Utf8("%1 は %2 バイトで、294 バイトより長いファイルです。先頭の 294 バイトを読み込みました。")
                   .arg(QFileInfo(path).fileName()).arg(fileSize));
    else
        Status(QString());
}

void EditorWindow::UndoCommand() {
    if (Undo()) ShowDocument(false);
}

void EditorWindow::RedoCommand() {
    if (Redo()) ShowDocument(false);
}

// Test play and the check need every used pair filled, as SAVE does.
bool EditorWindow::MissionReadyToRun() {
    FinishNumberEdit();
    if (FirstUnfilledPair() < 0) return true;
    ShowWarning(this, Utf8("Nextはブロックを埋めてください。"));
    return false;
}

// The mission as SAVE would write it, in a file of the editor's own
// temporary folder (removed when the editor closes); the author's file is
// never touched. Empty when it could not be written.
QString EditorWindow::WriteTemporaryMission(const QString& stem) {
    if (!temporary_) temporary_ = std::make_unique<QTemporaryDir>();
    if (!temporary_->isValid()) return {};
    QString path = temporary_->filePath(QStringLiteral("%1-%2.msn").arg(stem).arg(++temporaryCount_));
    std::string reason;
    if (!WriteMissionFile(QFile::encodeName(path).toStdString(), PlayableMissionBytes(), &reason)) return {};
    return path;
}

void EditorWindow::TestPlayCommand() {
    if (!MissionReadyToRun()) return;
    QString game = FindTool(QStringLiteral("tessmar"));
    if (game.isEmpty()) {
        ShowWarning(this, Utf8("ゲーム（tessmar）が見つかりません。"));
        return;
    }
    QString file = WriteTemporaryMission(QStringLiteral("play"));
    if (file.isEmpty() || !StartDetached(game, {QStringLiteral("--mission"), file}))
        ShowWarning(this, Utf8("ゲームを起動できませんでした。"));
}

void EditorWindow::CheckCommand() {
    if (Checking() || !MissionReadyToRun()) return;
    QString solver = FindTool(QStringLiteral("tessmar-solve"));
    if (solver.isEmpty()) {
        ShowWarning(this, Utf8("ソルバー（tessmar-solve）が見つかりません。"));
        return;
    }
    QString file = WriteTemporaryMission(QStringLiteral("check"));
    if (file.isEmpty()) {
        ShowWarning(this, Utf8("調べられませんでした。"));
        return;
    }
    QString script = file.chopped(4) + QStringLiteral(".txt");
    QStringList args{file, QStringLiteral("--json"), QStringLiteral("--script"), script, QStringLiteral("--from"),
                     QStringLiteral("mission")};
    check_.Start(solver, args, [this, file, script](int status, const QByteArray& out, const QByteArray& err) {
        CheckFinished(status, out, err, file, script);
    });
    if (checkRunning) checkRunning(true);
}

void EditorWindow::CancelCheck() {
    if (!Checking()) return;
    check_.Cancel();
    if (checkRunning) checkRunning(false);
}

void EditorWindow::CheckFinished(int status, const QByteArray& out, const QByteArray& err, const QString& file,
                                 const QString& script) {
    if (checkRunning) checkRunning(false);
    QJsonDocument json = QJsonDocument::fromJson(out.trimmed());
    if (status != 0 || !json.isObject()) {
        ShowWarning(this, Utf8("調べられませんでした。\n%1").arg(FirstLine(status != 0 ? err : out)));
        return;
    }
    SolverAnswer answer = ReadAnswer(json.object());
    bool offerWay = answer.clearable && !answer.randomPairs && QFileInfo(script).size() > 0;
    if (!ShowCheckAnswer(this, QString::fromStdString(CheckAnswerText(answer)), offerWay) || !offerWay) return;
    QString game = FindTool(QStringLiteral("tessmar"));
    QStringList args{QStringLiteral("--mission"), file, QStringLiteral("--replay"), script};
    if (game.isEmpty() || !StartDetached(game, args))
        ShowWarning(this, Utf8("ゲームを起動できませんでした。"));
}

bool EditorWindow::ConfirmQuit() { return AskOkCancel(this, Utf8("終了してよろしいですか。")); }

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (ConfirmQuit())
        event->accept();
    else
        event->ignore();
}
