#include "editor/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>

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
}  // namespace

EditorWindow::EditorWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(EditorTitle());
    setWindowIcon(EditorIcon());
    setFixedSize(512, 528);
    CreateControls();
    programFolder_ = QCoreApplication::applicationDirPath();
}

// Later siblings lie above earlier ones, so the number field sits on the goal
// group and the queue view on the Next group, as the views must receive clicks.
void EditorWindow::CreateControls() {
    newButton_ = Place(new QPushButton(QStringLiteral("NEW"), this), "newButton", 284, 491, 64, 21);
    saveButton_ = Place(new QPushButton(QStringLiteral("SAVE..."), this), "saveButton", 358, 491, 64, 21);
    loadButton_ = Place(new QPushButton(QStringLiteral("LOAD..."), this), "loadButton", 432, 491, 64, 21);
    goalGroup_ = Place(new QGroupBox(Utf8("ミッションの種類"), this), "goalGroup", 288, 256, 208, 144);
    numberField_ = Place(new QLineEdit(QStringLiteral("10"), this), "numberField", 420, 272, 60, 20);
    numberField_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), numberField_));
    for (int i = 0; i < 6; ++i) {
        QByteArray name = "goalRadio" + QByteArray::number(i);
        radios_[size_t(i)] = Place(new QRadioButton(goalGroup_), name.constData(), 16, 16 + 20 * i,
                                   i == 0 ? 108 : 176, 20);
    }
    numberField_->raise();
    UpdateGoalCaptions();
    radios_[0]->setChecked(true);

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
    PairCountPosition = 7;
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
    connect(numberField_, &QLineEdit::textChanged, this, [this] { UpdateGoalCaptions(); });
    connect(pairCountBar_, &QScrollBar::actionTriggered, this, [this](int action) { ScrollBarAction(action); });
    connect(pairCountBar_, &QScrollBar::sliderReleased, this, [this] {
        ApplyScrollCode(ScrollThumbPosition, pairCountBar_->sliderPosition());
        ShowPairCount();
    });
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

void EditorWindow::ShowPairCount() {
    pairCountBar_->blockSignals(true);
    pairCountBar_->setValue(PairCountPosition);
    pairCountBar_->blockSignals(false);
    for (int i = 0; i < 8; ++i) pairLabels_[size_t(i)]->setEnabled(PairLabelEnabled(i));
}

void EditorWindow::CheckRadio(int radio) {
    for (int i = 0; i < 6; ++i) {
        radios_[size_t(i)]->setAutoExclusive(false);
        radios_[size_t(i)]->setChecked(i == radio);
        radios_[size_t(i)]->setAutoExclusive(true);
    }
}

int EditorWindow::CheckedRadio() const {
    for (int i = 0; i < 6; ++i)
        if (radios_[size_t(i)]->isChecked()) return i;
    return -1;
}

void EditorWindow::RedrawPalettes() {
    DrawPalettes(plainPalette_->MutableImage(), framedPalette_->MutableImage());
    plainPalette_->update();
    framedPalette_->update();
}

QString EditorWindow::DialogStart() const { return lastPath_.isEmpty() ? programFolder_ : lastPath_; }

void EditorWindow::NewCommand() {
    if (!AskOkCancel(this, Utf8("クリアしてよろしいですか。"))) return;
    ClearMission();
    numberField_->setText(QStringLiteral("10"));
    CheckRadio(0);
    boardView_->Redraw(0, 0);
    RedrawPalettes();
    queueView_->Redraw(0, 0);
    PairCountPosition = 7;
    ShowPairCount();
}

void EditorWindow::SaveCommand() {
    SetPieceLimitFromScrollBar();
    if (FirstUnfilledPair() >= 0) {
        ShowWarning(this, Utf8("Nextはブロックを埋めてください。"));
        return;
    }
    QString path = ChooseSavePath(this, DialogStart());
    if (path.isEmpty()) return;
    lastPath_ = path;
    SetGoalForSave(CheckedRadio(), numberField_->text().toStdString());
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
    ShowPairCount();
    CheckRadio(RadioForLoadedType());
    numberField_->setText(QString::number(EditorMission.target));
    UpdateGoalCaptions();
    boardView_->Redraw(0, 0);
    queueView_->Redraw(0, 0);
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (AskOkCancel(this, Utf8("終了してよろしいですか。")))
        event->accept();
    else
        event->ignore();
}
