<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>korvane::LegacyPlan</name>
    <message>
        <source>无效</source>
        <translation>Invalid</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Daily</translation>
    </message>
    <message>
        <source>执行一次</source>
        <translation>Once</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Weekly</translation>
    </message>
    <message>
        <source>间隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>天</source>
        <translation>Day</translation>
    </message>
</context>
<context>
    <name>korvane::MessageId</name>
    <message>
        <source>recv fail</source>
        <translation>recv fail</translation>
    </message>
    <message>
        <source>打开串口失败!</source>
        <translation>Failed to open the serial port!</translation>
    </message>
    <message>
        <source>同步数据失败!</source>
        <translation>Failed to synchronise the data!</translation>
    </message>
    <message>
        <source>同步画面1输入参数失败!</source>
        <translation>Failed to synchronise the input parameters of picture 1!</translation>
    </message>
    <message>
        <source>同步画面2输入参数失败!</source>
        <translation>Failed to synchronise the input parameters of picture 2!</translation>
    </message>
    <message>
        <source>同步画面1输出参数失败!</source>
        <translation>Failed to synchronise the output parameters of picture 1!</translation>
    </message>
    <message>
        <source>同步画面2输出参数失败!</source>
        <translation>Failed to synchronise the output parameters of picture 2!</translation>
    </message>
    <message>
        <source>同步淡入淡出功能失败!</source>
        <translation>Failed to synchronise the fade settings!</translation>
    </message>
    <message>
        <source>切换查询失败</source>
        <translation>Switch query failed</translation>
    </message>
    <message>
        <source>同步输入设置失败!</source>
        <translation>Failed to synchronise the input settings!</translation>
    </message>
    <message>
        <source>同步声音数据失败!</source>
        <translation>Failed to synchronise the sound settings!</translation>
    </message>
    <message>
        <source>查询脱机计划列表失败!</source>
        <translation>Failed to query the offline plan list!</translation>
    </message>
    <message>
        <source>查询实时时间失败!</source>
        <translation>Failed to query the real-time clock!</translation>
    </message>
    <message>
        <source>SOCKET_ERROR = (m_sock = socket(AF_INET, SOCK_DGRAM, 0))</source>
        <translation>SOCKET_ERROR = (m_sock = socket(AF_INET, SOCK_DGRAM, 0))</translation>
    </message>
    <message>
        <source>iSend = sendto() &lt;= 0</source>
        <translation>iSend = sendto() &lt;= 0</translation>
    </message>
    <message>
        <source>nRecv = recvfrom &lt;= 0</source>
        <translation>nRecv = recvfrom &lt;= 0</translation>
    </message>
    <message>
        <source>通讯日志无法写入, 已停止记录</source>
        <translation>The communication log cannot be written; logging is off</translation>
    </message>
    <message>
        <source>本机已有另一个程序通过此网络端口连接处理器!</source>
        <translation>Another program on this computer already reaches the processor through this network port!</translation>
    </message>
    <message>
        <source>发送脱机计划列表失败!</source>
        <translation>Failed to send the offline plan list!</translation>
    </message>
</context>
<context>
    <name>korvane::PlanItem</name>
    <message>
        <source>跳过</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Daily</translation>
    </message>
    <message>
        <source>执行一次</source>
        <translation>Once</translation>
    </message>
    <message>
        <source>24后失效</source>
        <translation>Expires in 24h</translation>
    </message>
    <message>
        <source>每天重复</source>
        <translation>Repeat daily</translation>
    </message>
    <message>
        <source>持续不断</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>执行模板</source>
        <translation>Load template</translation>
    </message>
    <message>
        <source>切换通道</source>
        <translation>Switch channel</translation>
    </message>
</context>
<context>
    <name>korvane::ScheduleText</name>
    <message>
        <source>每天</source>
        <translation>Every day</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Weekly</translation>
    </message>
    <message>
        <source>执行一次</source>
        <translation>Once</translation>
    </message>
    <message>
        <source>天</source>
        <translation>All days</translation>
    </message>
    <message>
        <source>周一</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>周二</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>周三</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>周四</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>周五</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>周六</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>周日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>脚本</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>通道切换</source>
        <translation>Switch input</translation>
    </message>
</context>
<context>
    <name>korvane::TemplateText</name>
    <message>
        <source>Korvane Controller v3.0</source>
        <translation>Korvane Controller v3.0</translation>
    </message>
    <message>
        <source>模板</source>
        <translation>Template </translation>
    </message>
    <message>
        <source>正在加载模板...</source>
        <translation>Loading template...</translation>
    </message>
    <message>
        <source>同步数据</source>
        <translation>Synchronising data</translation>
    </message>
    <message>
        <source>文件已经存在,是否覆盖?</source>
        <translation>The file already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>文件不存在!</source>
        <translation>The file does not exist!</translation>
    </message>
    <message>
        <source>模板文件加载失败!</source>
        <translation>Failed to load the template!</translation>
    </message>
    <message>
        <source>文件已保存!</source>
        <translation>File saved!</translation>
    </message>
    <message>
        <source>文件保存失败!</source>
        <translation>Failed to save the file!</translation>
    </message>
    <message>
        <source>文件打开失败!</source>
        <translation>Failed to open the file!</translation>
    </message>
    <message>
        <source>文件读写错误!</source>
        <translation>File read or write error!</translation>
    </message>
</context>
</TS>
