#include "ui/panels/CPlaceholderPanel.h"

#include <QGridLayout>
#include <QLabel>

namespace korvane::ui {

CPlaceholderPanel::CPlaceholderPanel(const ParameterMirror& mirror, Qt::Orientation orientation,
                                     QWidget* parent)
    : QFrame(parent), mirror_(mirror), orientation_(orientation), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(10, 8, 10, 8);
    grid_->setHorizontalSpacing(12);
    grid_->setVerticalSpacing(6);
    if (orientation_ == Qt::Vertical) {
        grid_->setRowStretch(64, 1);
        grid_->setColumnStretch(1, 1);
    } else {
        grid_->setColumnStretch(64, 1);
    }
}

void CPlaceholderPanel::addRow(const QString& label, Value value) {
    const int n = static_cast<int>(rows_.size());
    auto* name = new QLabel(label + QStringLiteral(":"), this);
    auto* shown = new QLabel(this);
    shown->setObjectName(QStringLiteral("value%1").arg(n));
    QFont bold = shown->font();
    bold.setBold(true);
    shown->setFont(bold);
    if (orientation_ == Qt::Vertical) {
        grid_->addWidget(name, n, 0);
        grid_->addWidget(shown, n, 1);
    } else {
        grid_->addWidget(name, 0, 2 * n);
        grid_->addWidget(shown, 0, 2 * n + 1);
    }
    rows_.push_back({shown, std::move(value)});
    shown->setText(rows_.back().read(mirror_));
}

void CPlaceholderPanel::refreshFromMirror() {
    for (const Row& r : rows_) {
        r.value->setText(r.read(mirror_));
    }
}

void CPlaceholderPanel::setOnlineIndicator(int state) {
    if (online_ == nullptr) {
        online_ = new QLabel(this);
        online_->setObjectName(QStringLiteral("onlineIndicator"));
        const int n = static_cast<int>(rows_.size()) + 1;
        grid_->addWidget(new QLabel(tr("连接状态:"), this), n, 0);
        grid_->addWidget(online_, n, 1);
    }
    online_->setText(state == 1 ? tr("在线") : tr("离线"));
    online_->setStyleSheet(state == 1 ? QStringLiteral("color: #1a7f37; font-weight: bold")
                                      : QStringLiteral("color: #b42318; font-weight: bold"));
}

} // namespace korvane::ui
