#include "ui/dialogs/SerialPortChoice.h"

#include "core/link/OpenFailure.h"
#include "core/store/SettingsKeys.h"

#include <QCoreApplication>
#include <cctype>
#include <cstring>

namespace korvane::ui {

namespace {
// The translation context of these texts.
class SerialPortChoice {
    Q_DECLARE_TR_FUNCTIONS(korvane::ui::SerialPortChoice)
};
} // namespace

int portNumberFor(std::string_view devicePath) {
    std::size_t start = devicePath.size();
    while (start > 0 && std::isdigit(static_cast<unsigned char>(devicePath[start - 1])) != 0 &&
           devicePath.size() - start < 3) {
        --start;
    }
    int n = 0;
    for (std::size_t i = start; i < devicePath.size(); ++i) {
        n = n * 10 + (devicePath[i] - '0');
    }
    // 999 means "no port" to every reader of the settings file.
    return n == settingskey::kNoCommPort ? 0 : n;
}

bool serialConfigured(const SerialSettings& s) {
    return !s.devicePath.empty();
}

QString deviceOpenFailure(const QString& devicePath, int error) {
    switch (openFailureOf(error)) {
    case OpenFailure::NoSuchDevice:
        return SerialPortChoice::tr("设备 %1 不存在").arg(devicePath);
    case OpenFailure::PermissionDenied:
        return SerialPortChoice::tr(
                   "没有权限打开 %1 (当前用户是否在该设备所属的组中, 例如 dialout?)")
            .arg(devicePath);
    case OpenFailure::Busy:
        return SerialPortChoice::tr("%1 正被其他程序使用").arg(devicePath);
    case OpenFailure::NotSerialDevice:
        return SerialPortChoice::tr("%1 不是串口设备").arg(devicePath);
    case OpenFailure::Unknown:
        return SerialPortChoice::tr("无法打开 %1").arg(devicePath);
    case OpenFailure::Other:
        break;
    }
    return SerialPortChoice::tr("无法打开 %1: %2")
        .arg(devicePath, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace korvane::ui
