#include "ui/app/AboutDialog.h"

#include "core/base/Version.h"
#include "core/link/ParameterMirror.h"
#include "core/store/DataDirectory.h"
#include "core/store/Settings.h"
#include "ui/app/AboutTexts.h"
#include "ui/widgets/UiIcons.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvane::ui {

AboutDialog::AboutDialog(const ParameterMirror& mirror, const Settings& settings, QWidget* parent)
    : QDialog(parent) {
    auto* version = new QLabel(this);
    auto* date = new QLabel(this);
    setWindowTitle(tr("关于 Korvane Controller"));
    const AboutTexts texts = aboutTexts(std::span<const std::uint8_t, 5>(mirror.deviceInfo));
    version->setText(texts.version);
    date->setText(texts.date);
    version->setObjectName(QStringLiteral("versionValue"));
    date->setObjectName(QStringLiteral("dateValue"));

    auto* picture = new QLabel(this);
    QPixmap icon;
    const auto iconFile = settings.readIcon();
    if (!iconFile.empty()) {
        icon = QIcon(QString::fromStdString(shippedFile(iconFile).string())).pixmap(32, 32);
    }
    picture->setPixmap(icon.isNull() ? icons::programIcon().pixmap(32, 32) : icon);
    picture->setAlignment(Qt::AlignTop);

    auto* texts_ = new QGridLayout;
    texts_->addWidget(new QLabel(QStringLiteral(KORVANE_PROGRAM_TITLE " "), this), 0, 0, 1, 2);
    texts_->addWidget(new QLabel(tr("版本号: "), this), 1, 0);
    texts_->addWidget(version, 1, 1);
    texts_->addWidget(new QLabel(tr("出厂年份/星期: "), this), 2, 0);
    texts_->addWidget(date, 2, 1);
    // Labels the original layout keeps hidden.
    auto* year = new QLabel(tr("出厂年份: "), this);
    auto* week = new QLabel(tr("出厂星期: "), this);
    year->hide();
    week->hide();
    texts_->addWidget(new QLabel(this), 3, 0, 1, 2);

    auto* ok = new QPushButton(tr("确定"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(texts_, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    setMinimumWidth(360);
}

} // namespace korvane::ui
