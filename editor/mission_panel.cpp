#include "editor/mission_panel.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>

#include "editor/editor_dialogs.h"
#include "editor/editor_language.h"
#include "editor/editor_model.h"
#include "editor/mission_io.h"
#include "editor/recovery.h"
#include "editor/view_widgets.h"
#include "platform/platform_os.h"
#include "resources/editor/editor_sheet.h"

namespace {
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
    a.outOfTime = o.value("out_of_time").toBool();
    a.positions = o.value("positions").toInteger();
    return a;
}

// The goal group grows into the gap above the palettes for the row of the
// two random-pair goals; the number field reaches to the radios' right edge
// so that every number a file can give it is shown whole.
constexpr int GoalGroupHeight = 158;
constexpr int NumberFieldWidth = 72;
struct RadioPlace {
    int x, y, width;
};
constexpr RadioPlace GoalRadioPlaces[GoalRadioCount] = {
    {16, 16, 108},  {16, 36, 188}, {16, 56, 188},  {16, 76, 188},
    {16, 96, 188},  {16, 116, 188}, {16, 136, 104}, {120, 136, 84},
};

// A text too wide for its control at the window's font is shown in a
// smaller one, down to this size, so that it stays whole; only beyond that
// is it cut (with the whole text in the tooltip).
constexpr double SmallestFitPoints = 7.0;

// The width a radio needs to show `text` in `font`.
int RadioWidthFor(const QRadioButton* radio, const QFont& font, const QString& text) {
    QStyleOptionButton option;
    option.initFrom(radio);
    option.fontMetrics = QFontMetrics(font);
    option.text = text;
    QSize contents =
        radio->style()->itemTextRect(option.fontMetrics, QRect(), Qt::TextShowMnemonic, false, text).size();
    return radio->style()->sizeFromContents(QStyle::CT_RadioButton, &option, contents, radio).width();
}

// The width a line edit needs to show `text` in `font` without scrolling:
// its frame, its text margins and the cursor.
int FieldWidthFor(const QLineEdit* field, const QFont& font, const QString& text) {
    int frame = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field);
    QMargins margins = field->textMargins();
    return QFontMetrics(font).horizontalAdvance(text) + 2 * frame + 2 * 2 + margins.left() + margins.right() + 1;
}

// The largest font, from the parent's down to SmallestFitPoints, in which
// `needs` says the text fits `room`; the smallest when none does.
template <typename Needs>
QFont FittingFont(const QWidget* widget, int room, Needs needs) {
    QFont font = widget->parentWidget()->font();
    for (double points = font.pointSizeF(); points > SmallestFitPoints && needs(font) > room;) {
        points = std::max(points - 0.5, SmallestFitPoints);
        font.setPointSizeF(points);
    }
    return font;
}

// The system's reason, in the editor's language where the system has none.
QString Reason(const std::string& reason) {
    if (reason == "Not a regular file")
        return QCoreApplication::translate("MissionPanel", "Not a regular file (a pipe, a device or the like)");
    return QString::fromLocal8Bit(reason.c_str());
}
}  // namespace

MissionPanel::MissionPanel(QWidget* parent)
    : QWidget(parent, parent ? Qt::Widget
                             : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(EditorTitle());
    setWindowIcon(EditorIcon());
    setFixedSize(512, 528);
    CreateControls();
    SetTabOrder();
    checkTick_.setInterval(200);
    connect(&checkTick_, &QTimer::timeout, this, [this] { CheckTick(); });
    checkDeadline_.setSingleShot(true);
    connect(&checkDeadline_, &QTimer::timeout, this, [this] { CheckDeadline(); });
}

MissionPanel::~MissionPanel() = default;

// Later siblings lie above earlier ones, so the number field sits on the goal
// group and the queue view on the Next group, as the views must receive clicks.
void MissionPanel::CreateControls() {
    newButton_ = Place(new QPushButton(tr("NEW"), this), "newButton", 284, 491, 64, 21);
    saveButton_ = Place(new QPushButton(tr("SAVE..."), this), "saveButton", 358, 491, 64, 21);
    loadButton_ = Place(new QPushButton(tr("LOAD..."), this), "loadButton", 432, 491, 64, 21);
    goalGroup_ = Place(new QGroupBox(tr("Mission goal"), this), "goalGroup", 288, 256, 208, GoalGroupHeight);
    numberField_ = Place(new QLineEdit(QString::fromStdString(NumberFieldText), this), "numberField", 420, 272,
                         NumberFieldWidth, 20);
    numberField_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), numberField_));
    numberField_->installEventFilter(this);
    for (int i = 0; i < GoalRadioCount; ++i) {
        QByteArray name = "goalRadio" + QByteArray::number(i);
        const RadioPlace& at = GoalRadioPlaces[i];
        radios_[size_t(i)] = Place(new QRadioButton(goalGroup_), name.constData(), at.x, at.y, at.width, 20);
    }
    numberField_->raise();
    UpdateGoalCaptions();
    ShowGoal();
    ShowGoalNumberFlag();

    ViewHooks hooks{[this](EditStep step) {
                        history_.Record(step);
                        Changed();
                    },
                    [this] { RedrawPalettes(); }};
    nextGroup_ = Place(new QGroupBox(tr("Next"), this), "nextGroup", 288, 16, 208, 224);
    queueView_ = Place(new QueueView(this, hooks), "queueView", 304, 48, QueueViewWidth, QueueViewHeight);
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
    pairCountBar_->setFocusPolicy(Qt::StrongFocus);  // keys set the pair count (eventFilter)
    pairCountBar_->installEventFilter(this);
    ShowPairCount();

    boardView_ = Place(new BoardView(this, hooks), "boardView", 16, 16, BoardViewWidth, BoardViewHeight);
    plainPalette_ = Place(new PaletteView(this, false, hooks), "plainPalette", 16, 416, PlainPaletteWidth, PaletteHeight);
    framedPalette_ =
        Place(new PaletteView(this, true, hooks), "framedPalette", 48, 448, FramedPaletteWidth, PaletteHeight);
    RedrawPalettes();

    connect(newButton_, &QPushButton::clicked, this, [this] { NewCommand(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveAsCommand(); });
    connect(loadButton_, &QPushButton::clicked, this, [this] { LoadCommand(); });
    connect(numberField_, &QLineEdit::textChanged, this, [this](const QString& text) {
        history_.SetNumberText(text.toStdString());
        UpdateGoalCaptions();
        Changed();
    });
    connect(numberField_, &QLineEdit::editingFinished, this, [this] { history_.FinishNumberEdit(); });
    for (int i = 0; i < GoalRadioCount; ++i)
        connect(radios_[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on) return;
            GoalRadio = i;
            history_.Record(EditStep::GoalType);
            Changed();
        });
    connect(pairCountBar_, &QScrollBar::actionTriggered, this, [this](int action) { ScrollBarAction(action); });
    connect(pairCountBar_, &QScrollBar::valueChanged, this, [this](int value) { ScrollBarValue(value); });
    connect(pairCountBar_, &QScrollBar::sliderReleased, this,
            [this] { ScrollBarValue(pairCountBar_->sliderPosition()); });
    history_.restored = [this] {
        ShowDocument(false);
        Changed();
    };
}

// Tab goes round the mission from the board to the buttons.
void MissionPanel::SetTabOrder() {
    QWidget* order[] = {boardView_, plainPalette_, framedPalette_, queueView_, pairCountBar_, numberField_,
                        radios_[0], radios_[1],    radios_[2],     radios_[3], radios_[4],    radios_[5],
                        radios_[6], radios_[7],    newButton_,     saveButton_, loadButton_};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

// The document's Undo and Redo are the window's, also while the number field
// has the focus: the field does not keep an undo list of its own. The
// pair-count bar takes Left and Right (one pair), Page Up and Page Down (the
// page, one pair) and Home and End; a horizontal scroll bar's own key
// handling runs the other way round.
bool MissionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pairCountBar_ && event->type() == QEvent::KeyPress) {
        QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left: action = QAbstractSlider::SliderSingleStepSub; break;
        case Qt::Key_Right: action = QAbstractSlider::SliderSingleStepAdd; break;
        case Qt::Key_PageUp: action = QAbstractSlider::SliderPageStepSub; break;
        case Qt::Key_PageDown: action = QAbstractSlider::SliderPageStepAdd; break;
        case Qt::Key_Home: action = QAbstractSlider::SliderToMinimum; break;
        case Qt::Key_End: action = QAbstractSlider::SliderToMaximum; break;
        default: return false;
        }
        pairCountBar_->triggerAction(action);
        return true;
    }
    if (watched == numberField_ && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The captions show the number saving writes: the field's value or, when
// the high digits choose the type, the target they leave. A caption too wide
// for its radio at the window's font is shown smaller (SmallestFitPoints).
void MissionPanel::UpdateGoalCaptions() {
    QString text = numberField_->text();
    GoalNumberMeaning m = ReadGoalNumber(GoalChain, text.toStdString());
    QString t = m.storable ? QString::number(m.target) : text;
    int n = int(std::min<uint32_t>(m.target, INT32_MAX));
    const QString captions[GoalRadioCount] = {
        tr("Chain of %1").arg(t),           tr("Erase %1 blocks", nullptr, n).arg(t),
        tr("Erase %1 blocks at once", nullptr, n).arg(t), tr("Erase all frame blocks"),
        tr("All frame blocks at once"),      tr("Loop of area %1").arg(t),
        tr("Score %1").arg(t),              tr("%1 fish").arg(t)};
    for (int i = 0; i < GoalRadioCount; ++i) {
        QRadioButton* radio = radios_[size_t(i)];
        const QString& caption = captions[i];
        QFont font = FittingFont(radio, radio->width(),
                                 [&](const QFont& f) { return RadioWidthFor(radio, f, caption); });
        radio->setFont(font);
        QString shown = caption;
        int over = RadioWidthFor(radio, font, caption) - radio->width();
        if (over > 0) {
            QFontMetrics metrics(font);
            shown = metrics.elidedText(caption, Qt::ElideRight, metrics.horizontalAdvance(caption) - over);
        }
        radio->setText(shown);
        radio->setToolTip(shown == caption ? QString() : caption);
    }
    numberField_->setFont(FittingFont(numberField_, numberField_->width(),
                                      [&](const QFont& f) { return FieldWidthFor(numberField_, f, text); }));
}

// When the high digits choose the type, they decide whatever radio is
// checked: the radios show that goal (none for a type the game does not
// know) and are greyed until the number is one of the last five digits again.
void MissionPanel::ShowGoal() {
    GoalNumberMeaning m = GoalToSave();
    bool digits = m.storable && m.highDigits;
    CheckRadio(digits ? (KnownGoalType(m.type) ? int(m.type) : -1) : GoalRadio);
    for (QRadioButton* radio : radios_) radio->setEnabled(!digits);
}

// A number the file cannot hold, or one whose high digits choose the goal
// type, is marked, and the tooltip says what saving makes of it.
void MissionPanel::ShowGoalNumberFlag() {
    GoalNumberMeaning m = GoalToSave();
    QString tip;
    const char* colour = nullptr;
    if (!m.storable) {
        tip = tr("A mission file cannot hold this goal: the digits above the last five give the goal type, "
                 "which must not be above 255.");
        colour = "#ffc8c8";
    } else if (m.highDigits) {
        tip = tr("Above 100000 the high digits choose the goal: type %1, target %2.").arg(m.type).arg(m.target);
        colour = "#fff0b0";
    }
    numberField_->setToolTip(tip.isEmpty() ? QString() : numberField_->text() + QLatin1Char('\n') + tip);
    numberField_->setStyleSheet(colour ? QStringLiteral("QLineEdit { background: %1; }").arg(QLatin1String(colour))
                                       : QString());
}

// The scroll bar's actions as the codes of the model; dragging the thumb
// changes nothing until it is released.
void MissionPanel::ScrollBarAction(int action) {
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
    history_.Record(EditStep::PairCount);
    Changed();
}

// Whatever else sets the value (the context menu's "Scroll here", a release
// of the thumb) is a thumb position: the pair count follows the thumb.
void MissionPanel::ScrollBarValue(int value) {
    if (pairCountBar_->isSliderDown() || value == PairCountPosition) return;
    ApplyScrollCode(ScrollThumbPosition, value);
    ShowPairCount();
    history_.Record(EditStep::PairCount);
    Changed();
}

void MissionPanel::ShowPairCount() {
    pairCountBar_->blockSignals(true);
    pairCountBar_->setValue(PairCountPosition);
    pairCountBar_->blockSignals(false);
    for (int i = 0; i < 8; ++i) pairLabels_[size_t(i)]->setEnabled(PairLabelEnabled(i));
}

// Every control from the model, without the controls reporting back.
void MissionPanel::ShowDocument(bool cursorsAtOrigin) {
    ShowPairCount();
    QString text = QString::fromStdString(NumberFieldText);
    if (numberField_->text() != text) {
        numberField_->blockSignals(true);
        numberField_->setText(text);
        numberField_->setCursorPosition(0);  // a number too long for the field shows its leading digits
        numberField_->blockSignals(false);
    }
    UpdateGoalCaptions();
    boardView_->Redraw(cursorsAtOrigin ? 0 : BoardCursor.column, cursorsAtOrigin ? 0 : BoardCursor.row);
    queueView_->Redraw(cursorsAtOrigin ? 0 : QueueCursor.pair, cursorsAtOrigin ? 0 : QueueCursor.half);
}

void MissionPanel::CheckRadio(int radio) {
    for (int i = 0; i < GoalRadioCount; ++i) {
        QRadioButton* r = radios_[size_t(i)];
        r->blockSignals(true);
        r->setAutoExclusive(false);
        r->setChecked(i == radio);
        r->setAutoExclusive(true);
        r->blockSignals(false);
    }
}

void MissionPanel::RedrawPalettes() {
    DrawPalettes(plainPalette_->MutableImage(), framedPalette_->MutableImage());
    plainPalette_->update();
    framedPalette_->update();
}

void MissionPanel::Status(const QString& text) {
    lastStatus_ = text;
    if (showStatus) showStatus(text);
}

// Unsaved work is kept ready for an end the author did not choose.
void MissionPanel::Changed() {
    ShowGoal();
    ShowGoalNumberFlag();
    if (Modified()) ArmRecovery(PlayableMissionBytes(), currentPath_);
    else DisarmRecovery();
    if (documentChanged) documentChanged();
}

QString MissionPanel::DocumentName() const {
    return currentPath_.isEmpty() ? tr("Untitled") : QFileInfo(currentPath_).fileName();
}

QString MissionPanel::MissionsFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.startsWith(QLatin1Char('/'))) data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/tessmar/missions");
}

// The last folder used; before any, the missions folder (made for the first
// save) or the home folder.
QString MissionPanel::DialogStart(bool saving) const {
    if (saving && !currentPath_.isEmpty()) return currentPath_;
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) return lastFolder_;
    QString missions = MissionsFolder();
    if (saving) MakeFolders(QFile::encodeName(missions).toStdString());  // the user's alone (0700), as the game makes its folders
    return QFileInfo(missions).isDir() ? missions : QDir::homePath();
}

bool MissionPanel::MaybeKeepChanges() {
    if (!history_.Modified()) return true;
    switch (AskSaveChanges(this, tr("Save the changes to %1?").arg(DocumentName()))) {
    case SaveChoice::Save: return SaveCommand();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: break;
    }
    return false;
}

void MissionPanel::NewCommand() {
    if (!MaybeKeepChanges()) return;
    NewMission();
    currentPath_.clear();
    history_.Begin(true);
    ShowDocument(true);
    RedrawPalettes();
    Status(QString());
    Changed();
}

bool MissionPanel::SaveCommand() { return Save(currentPath_.isEmpty()); }
bool MissionPanel::SaveAsCommand() { return Save(true); }

// The goal must fit the file: a goal type above 255 is refused with the
// reason, rather than saved as its low byte.
bool MissionPanel::GoalReady() {
    GoalNumberMeaning m = GoalToSave();
    if (m.storable) return true;
    ShowWarning(this, tr("The goal cannot be saved: %1 is beyond what a mission file holds "
                         "(the digits above the last five give the goal type, at most 255).")
                          .arg(QString::fromStdString(NumberFieldText)));
    return false;
}

// A goal type the game does not know (from the high digits, or kept from a
// loaded file) plays with random pairs under an empty goal line: it is saved
// only when the author says so.
bool MissionPanel::KeepUnknownGoalType() {
    GoalNumberMeaning m = GoalToSave();
    if (KnownGoalType(m.type)) return true;
    return AskSaveAnyway(this, tr("The game knows no goal of type %1: it deals random pairs under an empty goal "
                                  "line, and the mission can only be lost (with target 0 it is cleared at once). "
                                  "Save it with goal type %1 all the same?")
                                   .arg(m.type));
}

bool MissionPanel::Save(bool askName) {
    history_.FinishNumberEdit();
    if (FirstUnfilledPair() >= 0) {
        ShowWarning(this, tr("Fill both halves of every Next pair in use."));
        return false;
    }
    if (!GoalReady() || !KeepUnknownGoalType()) return false;
    QString path = askName ? ChooseSavePath(this, DialogStart(true)) : currentPath_;
    if (path.isEmpty()) return false;
    lastFolder_ = QFileInfo(path).absolutePath();
    std::string reason;
    if (!WriteMissionFile(QFile::encodeName(path).toStdString(), PlayableMissionBytes(), &reason)) {
        ShowWarning(this, tr("Could not save.\n%1\n%2").arg(path, Reason(reason)));
        return false;
    }
    currentPath_ = path;
    history_.MarkSaved();
    Status(tr("Saved %1.").arg(QFileInfo(path).fileName()));
    Changed();
    return true;
}

void MissionPanel::LoadCommand() {
    if (!MaybeKeepChanges()) return;
    QString path = ChooseOpenPath(this, DialogStart(false));
    if (!path.isEmpty()) LoadFile(path);
}

// All or nothing on screen: a file of another size loads into an empty
// mission and the status line says how many bytes were read; an empty file
// or one that cannot be read changes nothing.
void MissionPanel::LoadFile(const QString& path) {
    lastFolder_ = QFileInfo(path).absolutePath();
    MissionBytes bytes{};
    size_t size = 0;
    std::string reason;
    if (!ReadMissionFile(QFile::encodeName(path).toStdString(), bytes, &size, &reason)) {
        ShowWarning(this, tr("Could not load.\n%1\n%2").arg(path, Reason(reason)));
        return;
    }
    QString name = QFileInfo(path).fileName();
    if (!LoadEditorMission(bytes.data(), size)) {
        Status(tr("%1 is empty (0 bytes): nothing was loaded.").arg(name));
        return;
    }
    currentPath_ = path;
    qint64 fileSize = QFileInfo(path).size();
    // What is shown of a file of another size is not what it holds: that
    // document starts modified.
    bool asInFile = size == MissionFileSize && fileSize == qint64(MissionFileSize);
    history_.Begin(asInFile);
    ShowDocument(true);
    if (asInFile) {
        Status(QString());
    } else {
        if (size < MissionFileSize)
            Status(tr("%1 has %n bytes, fewer than 294: the %n bytes were loaded into an empty mission.", nullptr,
                      int(size))
                       .arg(name));
        else
            Status(tr("%1 has %2 bytes, more than 294: its first 294 bytes were loaded.").arg(name).arg(fileSize));
    }
    Changed();
}

bool MissionPanel::OfferKeptWork() {
    RecoveredWork work;
    if (!ReadRecovery(work)) return false;
    QString name = work.path.isEmpty() ? tr("Untitled") : QFileInfo(work.path).fileName();
    bool restore = AskRestoreWork(this, tr("The editor ended with unsaved changes to %1. Restore them?").arg(name));
    RemoveRecovery();
    if (!restore) return false;
    LoadEditorMission(work.bytes.data(), work.bytes.size());
    currentPath_ = work.path;
    history_.Begin(false);
    ShowDocument(true);
    Status(tr("Restored the unsaved changes to %1.").arg(name));
    Changed();
    return true;
}

void MissionPanel::UndoCommand() { history_.Stack().undo(); }
void MissionPanel::RedoCommand() { history_.Stack().redo(); }

// Test play and the check need every used pair filled, as SAVE does.
bool MissionPanel::MissionReadyToRun() {
    history_.FinishNumberEdit();
    Changed();
    if (FirstUnfilledPair() >= 0) {
        ShowWarning(this, tr("Fill both halves of every Next pair in use."));
        return false;
    }
    return GoalReady();
}

// The mission as SAVE would write it, in a file of the editor's own
// temporary folder (removed when the editor closes); the author's file is
// never touched. Empty when it could not be written.
QString MissionPanel::WriteTemporaryMission(const QString& stem) {
    if (!temporary_) temporary_ = MakeTemporaryFolder();
    if (!temporary_->isValid()) return {};
    QString path = temporary_->filePath(QStringLiteral("%1-%2.msn").arg(stem).arg(++temporaryCount_));
    std::string reason;
    if (!WriteMissionFile(QFile::encodeName(path).toStdString(), PlayableMissionBytes(), &reason)) return {};
    return path;
}

void MissionPanel::TestPlayCommand() {
    if (!MissionReadyToRun()) return;
    QString game = FindTool(QStringLiteral("tessmar"));
    if (game.isEmpty()) {
        ShowWarning(this, tr("The game (tessmar) was not found."));
        return;
    }
    QString file = WriteTemporaryMission(QStringLiteral("play"));
    QStringList args{QStringLiteral("--language"), LanguageOption(), QStringLiteral("--mission"), file};
    if (file.isEmpty() || !StartDetached(game, args))
        ShowWarning(this, tr("Could not start the game."));
}

// The solver stops itself after its seconds and prints its answer; the
// editor's own deadline ends a solver that has not answered by then.
void MissionPanel::CheckCommand(bool deeper) {
    if (Checking() || !MissionReadyToRun()) return;
    QString solver = FindTool(QStringLiteral("tessmar-solve"));
    if (solver.isEmpty()) {
        ShowWarning(this, tr("The solver (tessmar-solve) was not found."));
        return;
    }
    QString file = WriteTemporaryMission(QStringLiteral("check"));
    if (file.isEmpty()) {
        ShowWarning(this, tr("Could not check."));
        return;
    }
    running_ = Check{};
    running_.mission = PlayableMissionBytes();
    running_.file = file;
    running_.script = file.chopped(4) + QStringLiteral(".txt");
    running_.deeper = deeper;
    QStringList args{file,
                     QStringLiteral("--json"),
                     QStringLiteral("--script"),
                     running_.script,
                     QStringLiteral("--from"),
                     QStringLiteral("mission"),
                     QStringLiteral("--seconds"),
                     QString::number(deeper ? DeepCheckSolverSeconds : CheckSolverSeconds)};
    if (deeper) args << QStringLiteral("--budget") << QStringLiteral("100000000");
    check_.Start(
        solver, args, [this](const QByteArray& line) { CheckLine(line); },
        [this](int status, const QByteArray& out, const QByteArray& err) { CheckFinished(status, out, err); });
    running_.clock.start();
    checkTick_.start();
    checkDeadline_.start(deeper ? DeepCheckDeadlineMs : CheckDeadlineMs);
    if (checkRunning) checkRunning(true);
    CheckTick();
}

// A progress line only moves the count on; an answer line is kept.
void MissionPanel::CheckLine(const QByteArray& line) {
    QJsonDocument json = QJsonDocument::fromJson(line.trimmed());
    if (!json.isObject()) return;
    if (!json.object().value("progress").toBool()) running_.lastAnswer = line.trimmed();
    running_.positions = json.object().value("positions").toInteger();
    CheckTick();
}

void MissionPanel::CheckTick() {
    if (checkProgress) checkProgress(CheckProgressText(running_.positions, running_.clock.elapsed() / 1000.0));
}

void MissionPanel::CancelCheck() {
    if (!Checking()) return;
    check_.Cancel();
    checkTick_.stop();
    checkDeadline_.stop();
    if (checkRunning) checkRunning(false);
}

// The solver has not answered in time: what it last said, cut by the time.
void MissionPanel::CheckDeadline() {
    if (!Checking()) return;
    QByteArray last = running_.lastAnswer;
    CancelCheck();
    SolverAnswer answer;
    QJsonDocument json = QJsonDocument::fromJson(last);
    if (json.isObject()) {
        answer = ReadAnswer(json.object());
        if (!answer.decided || answer.waysAtLeast) answer.outOfTime = true;
    } else {
        answer.pairs = running_.mission[MissionPieceLimitOffset];
        answer.goalType = running_.mission[MissionTypeOffset];
        answer.decided = false;
        answer.outOfTime = true;
        answer.positions = running_.positions;
    }
    ShowAnswer(answer);
}

void MissionPanel::CheckFinished(int status, const QByteArray& out, const QByteArray& err) {
    checkTick_.stop();
    checkDeadline_.stop();
    if (checkRunning) checkRunning(false);
    QByteArray answerLine = out.trimmed().isEmpty() ? running_.lastAnswer : out.trimmed().split('\n').last();
    QJsonDocument json = QJsonDocument::fromJson(answerLine);
    if (status != 0 || !json.isObject()) {
        ShowWarning(this, tr("Could not check.\n%1").arg(FirstLine(status != 0 ? err : out)));
        return;
    }
    ShowAnswer(ReadAnswer(json.object()));
}

void MissionPanel::ShowAnswer(SolverAnswer answer) {
    QString text = CheckAnswerText(answer);
    if (PlayableMissionBytes() != running_.mission) text = AnswerOutdatedNote() + QStringLiteral("\n\n") + text;
    bool offerWay = answer.clearable && !answer.randomPairs && QFileInfo(running_.script).size() > 0;
    bool offerDeeper = !running_.deeper && !answer.randomPairs && (!answer.decided || answer.waysAtLeast);
    Check check = running_;
    switch (ShowCheckAnswer(this, text, offerWay, offerDeeper)) {
    case CheckChoice::ShowWay: {
        QString game = FindTool(QStringLiteral("tessmar"));
        QStringList args{QStringLiteral("--language"), LanguageOption(), QStringLiteral("--mission"), check.file,
                         QStringLiteral("--replay"), check.script};
        if (game.isEmpty() || !StartDetached(game, args)) ShowWarning(this, tr("Could not start the game."));
        break;
    }
    case CheckChoice::SearchDeeper: CheckCommand(true); break;
    case CheckChoice::Close: break;
    }
}

void MissionPanel::closeEvent(QCloseEvent* event) {
    if (MaybeKeepChanges())
        event->accept();
    else
        event->ignore();
}
