#include "core/base/Messages.h"

#include <array>
#include <utility>

namespace korvane {

namespace {
constexpr std::array<std::pair<MessageId, std::string_view>, 19> kTexts{{
    {MessageId::RecvFail, "recv fail"},
    {MessageId::OpenPortFailed, "打开串口失败!"},
    {MessageId::SyncFailed, "同步数据失败!"},
    {MessageId::SyncPicture1InputFailed, "同步画面1输入参数失败!"},
    {MessageId::SyncPicture2InputFailed, "同步画面2输入参数失败!"},
    {MessageId::SyncPicture1OutputFailed, "同步画面1输出参数失败!"},
    {MessageId::SyncPicture2OutputFailed, "同步画面2输出参数失败!"},
    {MessageId::SyncFadeFailed, "同步淡入淡出功能失败!"},
    {MessageId::SwitchQueryFailed, "切换查询失败"},
    {MessageId::SyncInputSettingsFailed, "同步输入设置失败!"},
    {MessageId::SyncSoundFailed, "同步声音数据失败!"},
    {MessageId::PlanListQueryFailed, "查询脱机计划列表失败!"},
    {MessageId::ClockQueryFailed, "查询实时时间失败!"},
    {MessageId::UdpSocketError, "SOCKET_ERROR = (m_sock = socket(AF_INET, SOCK_DGRAM, 0))"},
    {MessageId::UdpSendFailed, "iSend = sendto() <= 0"},
    {MessageId::UdpReceiveFailed, "nRecv = recvfrom <= 0"},
    {MessageId::LogWriteFailed, "通讯日志无法写入, 已停止记录"},
    {MessageId::UdpPortTaken, "本机已有另一个程序通过此网络端口连接处理器!"},
    {MessageId::PlanSendFailed, "发送脱机计划列表失败!"},
}};
} // namespace

std::string_view messageText(MessageId id) {
    for (const auto& [key, text] : kTexts) {
        if (key == id) {
            return text;
        }
    }
    return {};
}

} // namespace korvane
