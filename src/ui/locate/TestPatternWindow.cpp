#include "ui/locate/TestPatternWindow.h"

#include "core/commands/CommandFacade.h"
#include "ui/device/BusyRunner.h"
#include "ui/panels/PanelContext.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
constexpr int kButtonSize = 36;
} // namespace

TestPatternWindow::TestPatternWindow(const PanelContext& context, QWidget* parent)
    : QDialog(parent), facade_(context.facade), busy_(context.busy),
      end_(new QPushButton(tr("关闭测试"), this)),
      increment_(new QPushButton(tr("自增测试"), this)),
      decrement_(new QPushButton(tr("自减测试"), this)) {
    setObjectName(QStringLiteral("testPatternWindow"));
    setWindowTitle(tr("测试图卡"));
    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (int n = 1; n <= kPatternCount; ++n) {
        auto* b = new QPushButton(QString::number(n), this);
        b->setObjectName(QStringLiteral("pattern%1").arg(n));
        b->setFixedSize(kButtonSize, kButtonSize);
        b->setAutoDefault(false);
        const int i = n - 1;
        grid->addWidget(b, i / kColumns, i % kColumns);
        patterns_[static_cast<std::size_t>(i)] = b;
        connect(b, &QPushButton::clicked, this, [this, n] { send(static_cast<std::uint8_t>(n)); });
    }
    auto* hidden = new QHBoxLayout;
    for (auto [button, action] : {std::pair{end_, kEndTest}, std::pair{increment_, kAutoIncrement},
                                  std::pair{decrement_, kAutoDecrement}}) {
        button->setAutoDefault(false);
        button->hide();
        hidden->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, a = action] { send(a); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(hidden);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton& TestPatternWindow::patternButton(int pattern) const {
    return *patterns_.at(static_cast<std::size_t>(pattern - 1));
}

void TestPatternWindow::send(std::uint8_t action) {
    busy_.runUnseen([this, action] { facade_.showTestPattern(action); });
}

void TestPatternWindow::reject() {
    close();
}

void TestPatternWindow::closeEvent(QCloseEvent* event) {
    // The wall goes back to the picture, and the window only hides: it lives with the frame.
    send(kEndTest);
    hide();
    event->accept();
}

} // namespace korvane::ui
