#include "ui/device/BusyDialog.h"

#include "core/link/DeviceLink.h"
#include "ui/widgets/StripAnimation.h"
#include "ui/widgets/UiIcons.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <system_error>

namespace korvane::ui {

namespace {
// The dialog's exit codes.
constexpr int kSucceededCode = 1;
constexpr int kFailedCode = 2;

bool startThread(std::thread& thread, std::function<void()> work) {
    try {
        thread = std::thread(std::move(work));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}
} // namespace

BusyDialog::BusyDialog(const QString& caption, BackgroundTask task, const DeviceLink& link,
                       QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      task_(std::move(task)), link_(link), caption_(new QLabel(caption, this)),
      animation_(new StripAnimation(this)), threadStart_(startThread) {
    setObjectName(QStringLiteral("busyDialog"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    setPalette(pal);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(animation_, 1);
    layout->addWidget(caption_);
    animation_->setMinimumSize(96, 84);
    setFixedSize(150, 140);
}

BusyDialog::~BusyDialog() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

QString BusyDialog::caption() const {
    return caption_->text();
}

BusyResult BusyDialog::doModal() {
    if (link_.isOpen() == 0) {
        return BusyResult::Succeeded;
    }
    if (animation_->setStrip(icons::busyStrip(kStripFrames, 64), kStripFrames,
                             QColor::fromRgba(icons::kStripTransparent))) {
        animation_->play();
    }
    // Without a worker nothing would ever end the dialog, so it ends itself with failure.
    if (!threadStart_(worker_, [this] { work(); })) {
        QTimer::singleShot(0, this, [this] { finish(BusyResult::Failed); });
    }
    const int result = exec();
    animation_->stop();
    if (worker_.joinable()) {
        worker_.join();
    }
    return result == kSucceededCode ? BusyResult::Succeeded : BusyResult::Failed;
}

// The task starts at once: the window appears on the UI thread while it runs, and the result
// is only taken in the dialog's own loop, so it cannot end the dialog before it has shown. A
// task that follows a command of its caller opens with its own pause for the processor.
void BusyDialog::work() {
    BusyResult result = BusyResult::Failed;
    if (task_) {
        try {
            result = task_() ? BusyResult::Succeeded : BusyResult::Failed;
        } catch (...) {
            result = BusyResult::Failed;
        }
    }
    // The worker never touches the window; it only hands over the result.
    QMetaObject::invokeMethod(
        this, [this, result] { finish(result); }, Qt::QueuedConnection);
}

void BusyDialog::finish(BusyResult result) {
    done(result == BusyResult::Succeeded ? kSucceededCode : kFailedCode);
}

void BusyDialog::reject() {}

} // namespace korvane::ui
