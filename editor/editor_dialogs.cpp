#include "editor/editor_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

QString EditorTitle() { return QCoreApplication::translate("Editor", "Tessmar Mission Editor"); }

// A narrow box would cut its title in the window manager's title bar: a
// spacer across the box's grid keeps it at least as wide as the title, with
// room for the title bar's buttons.
void FitTitle(QMessageBox& box) {
    QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    int width = metrics.horizontalAdvance(box.windowTitle()) + 120;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

namespace {
void RealShowWarning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, EditorTitle(), text, QMessageBox::Ok, parent);
    FitTitle(box);
    box.exec();
}

SaveChoice RealAskSaveChanges(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, EditorTitle(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    FitTitle(box);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveChoice::Save;
    case QMessageBox::Discard: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
    }
}

bool RealAskSaveAnyway(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, EditorTitle(), text, QMessageBox::Save | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Cancel);
    FitTitle(box);
    return box.exec() == QMessageBox::Save;
}

bool RealAskRestoreWork(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, EditorTitle(), text, QMessageBox::NoButton, parent);
    QAbstractButton* restore = box.addButton(QCoreApplication::translate("Editor", "Restore"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Discard);
    box.setDefaultButton(static_cast<QPushButton*>(restore));
    FitTitle(box);
    box.exec();
    return box.clickedButton() == restore;
}

CheckChoice RealShowCheckAnswer(QWidget* parent, const QString& text, bool offerWay, bool offerDeeper) {
    QMessageBox box(QMessageBox::Information, EditorTitle(), text, QMessageBox::Close, parent);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);  // figures can be copied
    QAbstractButton* show = nullptr;
    QAbstractButton* deeper = nullptr;
    if (offerWay) {
        show = box.addButton(QCoreApplication::translate("Editor", "Show the shortest way"), QMessageBox::AcceptRole);
        box.setDefaultButton(static_cast<QPushButton*>(show));
    }
    if (offerDeeper)
        deeper = box.addButton(QCoreApplication::translate("Editor", "Search longer"), QMessageBox::ActionRole);
    FitTitle(box);
    box.exec();
    if (show != nullptr && box.clickedButton() == show) return CheckChoice::ShowWay;
    if (deeper != nullptr && box.clickedButton() == deeper) return CheckChoice::SearchDeeper;
    return CheckChoice::Close;
}

// One filter, matching *.msn.
QString ChooseMissionPath(QWidget* parent, const QString& start, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QCoreApplication::translate("Editor", "Mission files (*.msn)") + QStringLiteral(" (*.msn)"));
    dialog.setDefaultSuffix(QStringLiteral("msn"));
    QFileInfo info(start);
    if (info.isDir()) {
        dialog.setDirectory(start);
    } else {
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString RealChooseSavePath(QWidget* parent, const QString& start) {
    return ChooseMissionPath(parent, start, QFileDialog::AcceptSave);
}

QString RealChooseOpenPath(QWidget* parent, const QString& start) {
    return ChooseMissionPath(parent, start, QFileDialog::AcceptOpen);
}
}  // namespace

void (*ShowWarning)(QWidget*, const QString&) = RealShowWarning;
SaveChoice (*AskSaveChanges)(QWidget*, const QString&) = RealAskSaveChanges;
bool (*AskSaveAnyway)(QWidget*, const QString&) = RealAskSaveAnyway;
bool (*AskRestoreWork)(QWidget*, const QString&) = RealAskRestoreWork;
QString (*ChooseSavePath)(QWidget*, const QString&) = RealChooseSavePath;
QString (*ChooseOpenPath)(QWidget*, const QString&) = RealChooseOpenPath;
CheckChoice (*ShowCheckAnswer)(QWidget*, const QString&, bool, bool) = RealShowCheckAnswer;
