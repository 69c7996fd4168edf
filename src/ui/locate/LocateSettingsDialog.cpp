#include "ui/locate/LocateSettingsDialog.h"

#include "ui/device/MessagePresenter.h"
#include "ui/panels/PanelNumbers.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvane::ui {

using locate::BoxSizes;

LocateSettingsDialog::LocateSettingsDialog(const BoxSizes& sizes, MessagePresenter& presenter,
                                           QWidget* parent)
    : QDialog(parent), presenter_(presenter), use_(new QCheckBox(tr("使用水平/垂直定位"), this)),
      sizes_(sizes) {
    setObjectName(QStringLiteral("locateSettingsDialog"));
    setWindowTitle(tr("水平/垂直定位设置"));
    auto* form = new QFormLayout;
    const QString labels[FieldCount] = {tr("箱体水平像素:"), tr("箱体垂直像素:"),
                                        tr("模组水平像素:"), tr("模组垂直像素:")};
    for (int f = 0; f < FieldCount; ++f) {
        auto* e = new QLineEdit(this);
        e->setMaxLength(6);
        edits_[static_cast<std::size_t>(f)] = e;
        form->addRow(labels[f], e);
    }
    // Kept from the original dialog; positioning is always on once the dialog is confirmed.
    use_->hide();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &LocateSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LocateSettingsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(use_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    showSizes(sizes);
}

void LocateSettingsDialog::showSizes(const BoxSizes& s) {
    const int values[FieldCount] = {s.boxWidth, s.boxHeight, s.moduleWidth, s.moduleHeight};
    for (int f = 0; f < FieldCount; ++f) {
        edits_[static_cast<std::size_t>(f)]->setText(QString::number(values[f]));
    }
}

void LocateSettingsDialog::accept() {
    int values[FieldCount] = {};
    for (int f = 0; f < FieldCount; ++f) {
        QLineEdit* e = edits_[static_cast<std::size_t>(f)];
        bool number = false;
        const int v = e->text().trimmed().toInt(&number);
        // The adjustment below divides by these, and the tool window grows with the box: it
        // must show its grid and edits and stay on the screen.
        const bool box = f == BoxWidth || f == BoxHeight;
        const int minimum = box ? locate::kMinimumBoxSize : locate::kMinimumSize;
        const int maximum = f == BoxWidth    ? boxLimit_.width()
                            : f == BoxHeight ? boxLimit_.height()
                                             : locate::kMaximumSize;
        if (!number || v < minimum || v > maximum) {
            presenter_.inform(this, outOfRangeText(minimum, maximum));
            e->setFocus();
            e->selectAll();
            return;
        }
        values[f] = v;
    }
    BoxSizes s{values[BoxWidth], values[BoxHeight], values[ModuleWidth], values[ModuleHeight]};
    s.moduleHeight = locate::fittedModule(s.boxHeight, s.moduleHeight);
    s.moduleWidth = locate::fittedModule(s.boxWidth, s.moduleWidth);
    showSizes(s);
    sizes_ = s;
    if (s.moduleWidth != values[ModuleWidth] || s.moduleHeight != values[ModuleHeight]) {
        presenter_.inform(this, tr("模组像素值已调整!"));
    }
    QDialog::accept();
}

} // namespace korvane::ui
