#include "ui/wall/OutputSize.h"

#include "core/link/ResolutionTable.h"
#include "core/store/Settings.h"

namespace korvane::ui {

OutputSize::OutputSize(const Settings& settings) : settings_(settings) {
    const auto r = findResolution(kDefaultResolution);
    lastTable_ = r ? QSize(r->width, r->height) : QSize();
}

std::optional<QSize> OutputSize::forCode(std::uint8_t code) {
    const auto r = findResolution(code);
    if (!r) {
        return std::nullopt;
    }
    if (r->width > 0 && r->height > 0) {
        lastTable_ = QSize(r->width, r->height);
        return lastTable_;
    }
    if (const auto custom = settings_.readCustomResolution()) {
        return QSize(custom->width, custom->height);
    }
    return lastTable_;
}

} // namespace korvane::ui
