#include "ui/dialogs/SerialPortChoice.h"

#include "core/store/SettingsKeys.h"

#include <QCoreApplication>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace korvane::ui {

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
    const auto text = [](const char* source) {
        return QCoreApplication::translate("korvane::ui::SerialPortChoice", source);
    };
    switch (error) {
    case ENOENT:
        return text("设备 %1 不存在").arg(devicePath);
    case EACCES:
    case EPERM:
        return text("没有权限打开 %1 (当前用户是否在该设备所属的组中, 例如 dialout?)")
            .arg(devicePath);
    case EBUSY:
        return text("%1 正被其他程序使用").arg(devicePath);
    case ENOTTY:
        return text("%1 不是串口设备").arg(devicePath);
    case 0:
        return text("无法打开 %1").arg(devicePath);
    default:
        return text("无法打开 %1: %2")
            .arg(devicePath, QString::fromLocal8Bit(std::strerror(error)));
    }
}

} // namespace korvane::ui
