#include "editor/editor_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QAbstractButton>
#include <QPushButton>
#include <QMessageBox>

QString EditorTitle() { return QString::fromUtf8("Tessmar　ミッションエディタ"); }

namespace {
bool RealAskOkCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, EditorTitle(), text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

void RealShowWarning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, EditorTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool RealShowCheckAnswer(QWidget* parent, const QString& text, bool offerWay) {
    QMessageBox box(QMessageBox::Information, EditorTitle(), text, QMessageBox::Close, parent);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);  // the figures can be copied
    QAbstractButton* show = nullptr;
    if (offerWay) {
        show = box.addButton(QString::fromUtf8("最短手順を見る"), QMessageBox::AcceptRole);
        box.setDefaultButton(static_cast<QPushButton*>(show));
    }
    box.exec();
    return show != nullptr && box.clickedButton() == show;
}

// One filter: shown as "ミッションファイル（*.msn）", matching *.msn.
QString ChooseMissionPath(QWidget* parent, const QString& start, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QString::fromUtf8("ミッションファイル（*.msn） (*.msn)"));
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

bool (*AskOkCancel)(QWidget*, const QString&) = RealAskOkCancel;
void (*ShowWarning)(QWidget*, const QString&) = RealShowWarning;
QString (*ChooseSavePath)(QWidget*, const QString&) = RealChooseSavePath;
QString (*ChooseOpenPath)(QWidget*, const QString&) = RealChooseOpenPath;
bool (*ShowCheckAnswer)(QWidget*, const QString&, bool) = RealShowCheckAnswer;
