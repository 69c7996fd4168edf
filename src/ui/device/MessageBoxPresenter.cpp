#include "ui/device/MessageBoxPresenter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace korvane::ui {

namespace {
QWidget* ownerFor(QWidget* parent) {
    if (parent != nullptr) {
        return parent;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

// Message boxes carry the program's name, as its own windows do.
QString boxTitle() {
    return QStringLiteral("Korvane Controller");
}
} // namespace

void MessageBoxPresenter::inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, boxTitle(), text, QMessageBox::NoButton,
                    ownerFor(parent));
    box.addButton(QApplication::translate("korvane::ui::MessageBoxPresenter", "确定"),
                  QMessageBox::AcceptRole);
    box.exec();
}

bool MessageBoxPresenter::confirm(QWidget* parent, const QString& text) {
    return ask(parent, text, false);
}

bool MessageBoxPresenter::confirmDestructive(QWidget* parent, const QString& text) {
    return ask(parent, text, true);
}

bool MessageBoxPresenter::ask(QWidget* parent, const QString& text, bool cancelFirst) {
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton,
                    ownerFor(parent));
    QPushButton* ok =
        box.addButton(QApplication::translate("korvane::ui::MessageBoxPresenter", "确定"),
                      QMessageBox::AcceptRole);
    QPushButton* cancel =
        box.addButton(QApplication::translate("korvane::ui::MessageBoxPresenter", "取消"),
                      QMessageBox::RejectRole);
    box.setDefaultButton(cancelFirst ? cancel : ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

QString MessageBoxPresenter::chooseFile(QWidget* parent, const FileChoice& choice) {
    QFileDialog dlg(ownerFor(parent), QString(), choice.folder, choice.filter);
    if (choice.mode == FileChoice::Mode::Save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    }
    dlg.setDefaultSuffix(choice.defaultSuffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
        return {};
    }
    return dlg.selectedFiles().front();
}

} // namespace korvane::ui
