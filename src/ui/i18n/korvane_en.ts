<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>korvane::ui::AboutDialog</name>
    <message>
        <source>关于 Korvane Controller</source>
        <translation>About Korvane Controller</translation>
    </message>
    <message>
        <source>版本号: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>出厂年份: </source>
        <translation>Factory year: </translation>
    </message>
    <message>
        <source>出厂星期: </source>
        <translation>Factory week: </translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>出厂年份/星期: </source>
        <translation>Factory year/week: </translation>
    </message>
</context>
<context>
    <name>korvane::ui::ClockDialog</name>
    <message>
        <source>校时</source>
        <translation>Processor Clock</translation>
    </message>
    <message>
        <source>同步</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>同步本地</source>
        <translation>Set to PC Time</translation>
    </message>
    <message>
        <source>机器时间:</source>
        <translation>Processor clock:</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>同步实时时间</source>
        <translation>Reading the device clock</translation>
    </message>
    <message>
        <source>处理器时间已设为 %1</source>
        <translation>Processor clock set to %1</translation>
    </message>
    <message>
        <source>设定时间:</source>
        <translation>Time to set:</translation>
    </message>
    <message>
        <source>本机时间:</source>
        <translation>PC time:</translation>
    </message>
</context>
<context>
    <name>korvane::ui::DualPicturePanel</name>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>模式1</source>
        <translation>Mode 1</translation>
    </message>
    <message>
        <source>模式2</source>
        <translation>Mode 2</translation>
    </message>
    <message>
        <source>瞬切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>淡入淡出</source>
        <translation>Fade</translation>
    </message>
    <message>
        <source>画面1</source>
        <translation>Picture 1</translation>
    </message>
    <message>
        <source>画面2</source>
        <translation>Picture 2</translation>
    </message>
    <message>
        <source>画中画</source>
        <translation>PIP</translation>
    </message>
    <message>
        <source>输入源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>水平位置</source>
        <translation>H position</translation>
    </message>
    <message>
        <source>水平宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>垂直位置</source>
        <translation>V position</translation>
    </message>
    <message>
        <source>垂直高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Transparency</translation>
    </message>
    <message>
        <source>图文叠加</source>
        <translation>Overlay</translation>
    </message>
    <message>
        <source>自动切换</source>
        <translation>Auto switch</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>半透明模式</source>
        <translation>Translucency</translation>
    </message>
    <message>
        <source>红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>蓝</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>特效</source>
        <translation>Effect</translation>
    </message>
    <message>
        <source>淡入淡出时间</source>
        <translation>Fade time</translation>
    </message>
    <message>
        <source>顶层显示</source>
        <translation>On top</translation>
    </message>
    <message>
        <source>切换</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>画面1优先</source>
        <translation>Picture 1 first</translation>
    </message>
    <message>
        <source>画面2优先</source>
        <translation>Picture 2 first</translation>
    </message>
    <message>
        <source>信号优先</source>
        <translation>Signal first</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。
条件：
红色 &gt; %1 并且
绿色 &gt; %2 并且
蓝色 &gt; %3</source>
        <translation>Pixels that meet the condition below are opaque; all other pixels are semi-transparent.
Condition:
Red &gt; %1 and
Green &gt; %2 and
Blue &gt; %3</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。
条件：
红色 &gt; %1 或者
绿色 &gt; %2 或者
蓝色 &gt; %3</source>
        <translation>Pixels that meet the condition below are opaque; all other pixels are semi-transparent.
Condition:
Red &gt; %1 or
Green &gt; %2 or
Blue &gt; %3</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。
条件：
红色 &lt; %1 并且
绿色 &lt; %2 并且
蓝色 &lt; %3</source>
        <translation>Pixels that meet the condition below are opaque; all other pixels are semi-transparent.
Condition:
Red &lt; %1 and
Green &lt; %2 and
Blue &lt; %3</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。
条件：
红色 &lt; %1 或者
绿色 &lt; %2 或者
蓝色 &lt; %3</source>
        <translation>Pixels that meet the condition below are opaque; all other pixels are semi-transparent.
Condition:
Red &lt; %1 or
Green &lt; %2 or
Blue &lt; %3</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。
条件：
红色 &gt; %1 并且
绿色 &gt; %2 并且
蓝色 &gt; %3</source>
        <translation>Pixels that meet the condition below are semi-transparent; all other pixels are fully transparent.
Condition:
Red &gt; %1 and
Green &gt; %2 and
Blue &gt; %3</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。
条件：
红色 &gt; %1 或者
绿色 &gt; %2 或者
蓝色 &gt; %3</source>
        <translation>Pixels that meet the condition below are semi-transparent; all other pixels are fully transparent.
Condition:
Red &gt; %1 or
Green &gt; %2 or
Blue &gt; %3</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。
条件：
红色 &lt; %1 并且
绿色 &lt; %2 并且
蓝色 &lt; %3</source>
        <translation>Pixels that meet the condition below are semi-transparent; all other pixels are fully transparent.
Condition:
Red &lt; %1 and
Green &lt; %2 and
Blue &lt; %3</translation>
    </message>
    <message>
        <source>图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。
条件：
红色 &lt; %1 或者
绿色 &lt; %2 或者
蓝色 &lt; %3</source>
        <translation>Pixels that meet the condition below are semi-transparent; all other pixels are fully transparent.
Condition:
Red &lt; %1 or
Green &lt; %2 or
Blue &lt; %3</translation>
    </message>
    <message>
        <source>更新画面切换参数</source>
        <translation>Updating the switch parameters</translation>
    </message>
    <message>
        <source>同步画面2数据</source>
        <translation>Synchronising picture 2</translation>
    </message>
</context>
<context>
    <name>korvane::ui::CommunicationPanel</name>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Serial</translation>
    </message>
    <message>
        <source>网络</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Serial Port Settings</translation>
    </message>
    <message>
        <source>网络设置</source>
        <translation>Network Settings</translation>
    </message>
    <message>
        <source>同步数据</source>
        <translation>Synchronise Data</translation>
    </message>
    <message>
        <source>查询状态</source>
        <translation>Query Status</translation>
    </message>
    <message>
        <source>自动更新</source>
        <translation>Auto update</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>超时时间</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>通讯模式</source>
        <translation>Link mode</translation>
    </message>
    <message>
        <source>连接状态:</source>
        <translation>Connection:</translation>
    </message>
    <message>
        <source>%1 sec</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>打开网口失败!</source>
        <translation>Failed to open the network port!</translation>
    </message>
</context>
<context>
    <name>korvane::ui::CentrePane</name>
    <message>
        <source>重命名...</source>
        <translation>Rename Template...</translation>
    </message>
    <message>
        <source>模板名称最多32个字符，不能含控制字符，前后不能有空格或引号。</source>
        <translation>A template name has at most 32 characters, no control characters, and no blanks or quotes around it.</translation>
    </message>
    <message>
        <source>重命名模板</source>
        <translation>Rename Template</translation>
    </message>
    <message>
        <source>模板%1的名称:</source>
        <translation>Name of template %1:</translation>
    </message>
    <message>
        <source>模板%1</source>
        <translation>Template %1</translation>
    </message>
    <message>
        <source>保存模板</source>
        <translation>Save Template</translation>
    </message>
    <message>
        <source>不支持的分辨率!</source>
        <translation>Unsupported resolution!</translation>
    </message>
</context>
<context>
    <name>korvane::ui::CapturePanel</name>
    <message>
        <source>画面1</source>
        <translation>Picture 1</translation>
    </message>
    <message>
        <source>画面2</source>
        <translation>Picture 2</translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>图像截取</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>水平起始</source>
        <translation>H Start</translation>
    </message>
    <message>
        <source>垂直起始</source>
        <translation>V Start</translation>
    </message>
    <message>
        <source>图像宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>图像高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>输入信号</source>
        <translation>Input Signal</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>参数复位</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>画面1输入调整执行失败!</source>
        <translation>Picture 1 input adjustment failed!</translation>
    </message>
    <message>
        <source>画面1输入调整</source>
        <translation>Picture 1 input adjustment</translation>
    </message>
    <message>
        <source>画面2输入调整</source>
        <translation>Picture 2 input adjustment</translation>
    </message>
    <message>
        <source>确定要复位参数吗?</source>
        <translation>Are you sure you want to reset the parameters?</translation>
    </message>
    <message>
        <source>复位参数</source>
        <translation>Resetting parameters</translation>
    </message>
    <message>
        <source>执行失败!</source>
        <translation>The operation failed!</translation>
    </message>
</context>
<context>
    <name>korvane::ui::PictureQualityPanel</name>
    <message>
        <source>图像模式</source>
        <translation>Image mode</translation>
    </message>
    <message>
        <source>用户</source>
        <translation>User</translation>
    </message>
    <message>
        <source>亮丽</source>
        <translation>Bright</translation>
    </message>
    <message>
        <source>柔和</source>
        <translation>Soft</translation>
    </message>
    <message>
        <source>标准</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>亮度</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>对比度</source>
        <translation>Contrast</translation>
    </message>
    <message>
        <source>彩色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>锐度</source>
        <translation>Sharpness</translation>
    </message>
    <message>
        <source>3D降噪</source>
        <translation>3D NR</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>VGA强化</source>
        <translation>VGA boost</translation>
    </message>
    <message>
        <source>场景模式</source>
        <translation>Scene mode</translation>
    </message>
    <message>
        <source>普通</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>生动</source>
        <translation>Vivid</translation>
    </message>
    <message>
        <source>剧场</source>
        <translation>Theatre</translation>
    </message>
    <message>
        <source>游戏</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>运动</source>
        <translation>Sport</translation>
    </message>
    <message>
        <source>色温</source>
        <translation>Colour temp.</translation>
    </message>
    <message>
        <source>暖色</source>
        <translation>Warm</translation>
    </message>
    <message>
        <source>冷色</source>
        <translation>Cool</translation>
    </message>
    <message>
        <source>红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>蓝</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>黑延伸</source>
        <translation>Black extension</translation>
    </message>
    <message>
        <source>DVI增强</source>
        <translation>DVI enhancement</translation>
    </message>
    <message>
        <source>Gamma调整</source>
        <translation>Gamma</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>图像参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>更新画质调整参数</source>
        <translation>Updating the picture quality settings</translation>
    </message>
    <message>
        <source>更新参数</source>
        <translation>Updating the settings</translation>
    </message>
</context>
<context>
    <name>korvane::ui::InputBar</name>
    <message>
        <source>输入选择</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>无缝切换</source>
        <translation>Seamless switching</translation>
    </message>
    <message>
        <source>图像静止:</source>
        <translation>Freeze:</translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>部分或全屏</source>
        <translation>Partial or full screen</translation>
    </message>
    <message>
        <source>部分</source>
        <translation>Partial</translation>
    </message>
    <message>
        <source>全屏</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>通道切换中...</source>
        <translation>Switching the channel...</translation>
    </message>
    <message>
        <source>已发送图像静止：开</source>
        <translation>Freeze on sent</translation>
    </message>
    <message>
        <source>已发送图像静止：关</source>
        <translation>Freeze off sent</translation>
    </message>
</context>
<context>
    <name>korvane::ui::ControllerApp</name>
    <message>
        <source>演示模式: 程序内的模拟处理器在 %1</source>
        <translation>Demo mode: the simulated processor inside the program is on %1</translation>
    </message>
    <message>
        <source>未连接处理器。想先看看程序？用 --demo 启动，内置模拟处理器。</source>
        <translation>No processor connected. To try the program first, start it with --demo: it brings its own simulated processor.</translation>
    </message>
</context>
<context>
    <name>korvane::ui::LinkStatusView</name>
    <message>
        <source>线路挂断</source>
        <translation>line hung up</translation>
    </message>
    <message>
        <source>设备已移除</source>
        <translation>device removed</translation>
    </message>
    <message>
        <source>发送失败</source>
        <translation>write failed</translation>
    </message>
    <message>
        <source>处理器无应答</source>
        <translation>no answer from the processor</translation>
    </message>
    <message>
        <source>无法打开设备</source>
        <translation>cannot open the device</translation>
    </message>
    <message>
        <source>与处理器的连接已断开: %1，正在自动重新连接</source>
        <translation>Link to the processor lost: %1; reconnecting by itself</translation>
    </message>
    <message>
        <source>连接已断开，命令未发送: %1</source>
        <translation>Link lost, commands are not sent: %1</translation>
    </message>
    <message>
        <source>已重新连接</source>
        <translation>Reconnected</translation>
    </message>
</context>
<context>
    <name>korvane::ui::LocateSettingsDialog</name>
    <message>
        <source>使用水平/垂直定位</source>
        <translation>Use point locate</translation>
    </message>
    <message>
        <source>水平/垂直定位设置</source>
        <translation>Point Locate Settings</translation>
    </message>
    <message>
        <source>箱体水平像素:</source>
        <translation>Box horizontal pixels:</translation>
    </message>
    <message>
        <source>箱体垂直像素:</source>
        <translation>Box vertical pixels:</translation>
    </message>
    <message>
        <source>模组水平像素:</source>
        <translation>Module horizontal pixels:</translation>
    </message>
    <message>
        <source>模组垂直像素:</source>
        <translation>Module vertical pixels:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>模组像素值已调整!</source>
        <translation>The module pixel values have been adjusted!</translation>
    </message>
</context>
<context>
    <name>korvane::ui::MainWindow</name>
    <message>
        <source>画质调整</source>
        <translation>Picture Quality</translation>
    </message>
    <message>
        <source>图像截取</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>声音</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>输出设置</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>双画面</source>
        <translation>Dual Picture</translation>
    </message>
    <message>
        <source>通讯设置</source>
        <translation>Communication</translation>
    </message>
    <message>
        <source>大写</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>滚动</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>确定要退出系统吗?</source>
        <translation>Do you really want to exit?</translation>
    </message>
</context>
<context>
    <name>korvane::ui::MessageBoxPresenter</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>korvane::ui::NetworkSettingsDialog</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>跳过</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>网络设置</source>
        <translation>Network Settings</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>IP</source>
        <translation>IP</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>无法查询: %1</source>
        <translation>Cannot search: %1</translation>
    </message>
    <message>
        <source>广播地址或端口不正确</source>
        <translation>bad broadcast address or port</translation>
    </message>
    <message>
        <source>无法创建网络连接</source>
        <translation>cannot create a network socket</translation>
    </message>
    <message>
        <source>无法绑定本机端口</source>
        <translation>cannot bind the local port</translation>
    </message>
    <message>
        <source>无法开启广播</source>
        <translation>cannot enable broadcasting</translation>
    </message>
    <message>
        <source>无法发送查询</source>
        <translation>cannot send the query</translation>
    </message>
    <message>
        <source>请填写用户名和密码。</source>
        <translation>User name and password are required.</translation>
    </message>
</context>
<context>
    <name>korvane::ui::LegacyPlanDialog</name>
    <message>
        <source>脱机计划任务</source>
        <translation>Offline Plan Tasks</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>重复周期</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>执行时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>模板序号</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>读取脱机计划任务</source>
        <translation>Read Offline Plans</translation>
    </message>
    <message>
        <source>发送脱机计划任务</source>
        <translation>Send Offline Plans</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>无效</source>
        <translation>Invalid</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Daily</translation>
    </message>
    <message>
        <source>一次性</source>
        <translation>Once</translation>
    </message>
    <message>
        <source>每周</source>
        <translation>Weekly</translation>
    </message>
    <message>
        <source>间隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>星期一</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>星期日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>时间：</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>读取当前时间</source>
        <translation>Read Device Time</translation>
    </message>
    <message>
        <source>发送当前时间</source>
        <translation>Send Device Time</translation>
    </message>
    <message>
        <source>是否需要读取脱机计划列表?</source>
        <translation>Read the offline plan list from the device?</translation>
    </message>
    <message>
        <source>同步脱机计划列表</source>
        <translation>Reading the offline plan list</translation>
    </message>
    <message>
        <source>发送脱机计划列表</source>
        <translation>Sending the offline plan list</translation>
    </message>
    <message>
        <source>是否需要读取实时时间?</source>
        <translation>Read the device clock?</translation>
    </message>
    <message>
        <source>同步实时时间</source>
        <translation>Reading the device clock</translation>
    </message>
</context>
<context>
    <name>korvane::ui::OutputPanel</name>
    <message>
        <source>水平位置</source>
        <translation>H position</translation>
    </message>
    <message>
        <source>水平宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>垂直位置</source>
        <translation>V position</translation>
    </message>
    <message>
        <source>垂直高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>画面1中空</source>
        <translation>Picture 1 hollow</translation>
    </message>
    <message>
        <source>定制分辨率</source>
        <translation>Custom resolution</translation>
    </message>
    <message>
        <source>水平分辩率</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>垂直分辩率</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>刷新频率</source>
        <translation>Refresh rate</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>输出分辨率</source>
        <translation>Output resolution</translation>
    </message>
    <message>
        <source>该操作将重置场景,请确认是否改变输出分辨率?</source>
        <translation>This resets the scene. Do you really want to change the output resolution?</translation>
    </message>
</context>
<context>
    <name>korvane::ui::PlanEditorDialog</name>
    <message>
        <source>时间表</source>
        <translation>Offline Schedule</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>重复周期</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>执行时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>执行方式</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move Up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move Down</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Modify</translation>
    </message>
    <message>
        <source>运行计划任务</source>
        <translation>Run plans</translation>
    </message>
    <message>
        <source>禁用计划任务</source>
        <translation>Disable plans</translation>
    </message>
    <message>
        <source>读取(&amp;O)</source>
        <translation>&amp;Read</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>校时</source>
        <translation>Processor Clock...</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>同步脱机计划列表</source>
        <translation>Reading the offline plan list</translation>
    </message>
    <message>
        <source>是否需要读取脱机计划列表?</source>
        <translation>Read the offline plan list from the device?</translation>
    </message>
    <message>
        <source>发送脱机计划列表</source>
        <translation>Sending the offline plan list</translation>
    </message>
    <message>
        <source>脱机计划已发送</source>
        <translation>Offline plans sent</translation>
    </message>
</context>
<context>
    <name>korvane::ui::PlanTaskBox</name>
    <message>
        <source>任务</source>
        <translation>Task</translation>
    </message>
    <message>
        <source>跳过</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Daily</translation>
    </message>
    <message>
        <source>一次性</source>
        <translation>Once</translation>
    </message>
    <message>
        <source>间隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>24小时后失效</source>
        <translation>Expires after 24 hours</translation>
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
        <source>加载模板</source>
        <translation>Load template</translation>
    </message>
    <message>
        <source>通道切换</source>
        <translation>Switch channel</translation>
    </message>
    <message>
        <source>时间：</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>周期：</source>
        <translation>Period:</translation>
    </message>
    <message>
        <source>分钟</source>
        <translation>minutes</translation>
    </message>
</context>
<context>
    <name>korvane::ui::PointLocateWindow</name>
    <message>
        <source>逐点定位</source>
        <translation>Point Locate</translation>
    </message>
</context>
<context>
    <name>korvane::ui::ScheduleRunnerDialog</name>
    <message>
        <source>时间表</source>
        <translation>Run Schedule</translation>
    </message>
    <message>
        <source>浏览(&amp;B)</source>
        <translation>&amp;Browse</translation>
    </message>
    <message>
        <source>启动时间表(&amp;S)</source>
        <translation>&amp;Start Schedule</translation>
    </message>
    <message>
        <source>退出(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>加载时间表：</source>
        <translation>Schedule file:</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>重复周期</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Days</translation>
    </message>
    <message>
        <source>执行时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>执行方式</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>当前任务</source>
        <translation>Current task</translation>
    </message>
    <message>
        <source>星期日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>时间表未启动!</source>
        <translation>Schedule not started!</translation>
    </message>
    <message>
        <source>请确认是否停止时间表?</source>
        <translation>Do you really want to stop the schedule?</translation>
    </message>
    <message>
        <source>时间表已停止!</source>
        <translation>Schedule stopped!</translation>
    </message>
    <message>
        <source>请确认是否启动时间表?</source>
        <translation>Do you really want to start the schedule?</translation>
    </message>
    <message>
        <source>请选择一个时间调度计划文件!</source>
        <translation>Please choose a schedule file!</translation>
    </message>
    <message>
        <source>时间调度计划文件不存在!</source>
        <translation>The schedule file does not exist!</translation>
    </message>
    <message>
        <source>停止(&amp;S)</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>时间表运行中!</source>
        <translation>Schedule running!</translation>
    </message>
    <message>
        <source>执行时间调度计划失败!</source>
        <translation>Failed to run the schedule!</translation>
    </message>
    <message>
        <source>数字超过9位</source>
        <translation>a number longer than 9 digits</translation>
    </message>
    <message>
        <source>模板文件不存在</source>
        <translation>template file missing</translation>
    </message>
    <message>
        <source>不是模板文件</source>
        <translation>not a template file</translation>
    </message>
    <message>
        <source>模板文件无法读取</source>
        <translation>template file unreadable</translation>
    </message>
    <message>
        <source>[无效：%1]</source>
        <translation>[invalid: %1]</translation>
    </message>
    <message>
        <source>[跳过：%1]</source>
        <translation>[skipped: %1]</translation>
    </message>
    <message>
        <source>%1 的任务已跳过：%2</source>
        <translation>Task at %1 skipped: %2</translation>
    </message>
</context>
<context>
    <name>korvane::ui::SerialSettingsDialog</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>跳过</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Serial Port Settings</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>(1~60秒)</source>
        <translation>(1~60 s)</translation>
    </message>
    <message>
        <source>超时时间</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>没有连接处理器？用 korvane-controller --demo 启动，程序会在内部运行一个模拟处理器并通过串口路径连接它。</source>
        <translation>No processor at hand? Start korvane-controller --demo: the program then runs a simulated processor inside itself and connects to it through the serial port path.</translation>
    </message>
</context>
<context>
    <name>korvane::ui::SidePaneStack</name>
    <message>
        <source>Failed to add a new pane to the stack.

Out of memory.</source>
        <translation>Failed to add a new pane to the stack.

Out of memory.</translation>
    </message>
</context>
<context>
    <name>korvane::ui::SoundPanel</name>
    <message>
        <source>静音</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>端口配置</source>
        <translation>Audio ports</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
</context>
<context>
    <name>korvane::ui::TestPatternWindow</name>
    <message>
        <source>关闭测试</source>
        <translation>End Test</translation>
    </message>
    <message>
        <source>自增测试</source>
        <translation>Auto Increment</translation>
    </message>
    <message>
        <source>自减测试</source>
        <translation>Auto Decrement</translation>
    </message>
    <message>
        <source>测试图卡</source>
        <translation>Test Pattern</translation>
    </message>
</context>
<context>
    <name>korvane::ui::FrameCommands</name>
    <message>
        <source>请确认是否要恢复出厂默认设置?</source>
        <translation>Do you really want to restore the factory settings?</translation>
    </message>
    <message>
        <source>工厂复位中...</source>
        <translation>Restoring factory settings...</translation>
    </message>
    <message>
        <source>程序将自动关闭并重新启动，请稍候!</source>
        <translation>The program will close and restart. Please wait!</translation>
    </message>
    <message>
        <source>已发送自动调整</source>
        <translation>Auto adjust sent</translation>
    </message>
</context>
<context>
    <name>korvane::ui::FrameMenu</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开脚本</source>
        <translation>&amp;Open Template File...</translation>
    </message>
    <message>
        <source>保存脚本</source>
        <translation>&amp;Save Template File...</translation>
    </message>
    <message>
        <source>加载模板</source>
        <translation>&amp;Load Template</translation>
    </message>
    <message>
        <source>保存模板</source>
        <translation>Save &amp;Template</translation>
    </message>
    <message>
        <source>模板%1</source>
        <translation>Template &amp;%1</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>设置(&amp;O)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>同步数据</source>
        <translation>&amp;Synchronise Data</translation>
    </message>
    <message>
        <source>恢复到出厂设置</source>
        <translation>&amp;Restore Factory Settings...</translation>
    </message>
    <message>
        <source>自动调整</source>
        <translation>&amp;Auto Adjust</translation>
    </message>
    <message>
        <source>画面1中空</source>
        <translation>Picture &amp;1 Hollow</translation>
    </message>
    <message>
        <source>画面2中空</source>
        <translation>Picture &amp;2 Hollow</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>水平/垂直定位</source>
        <translation>&amp;Point Locate</translation>
    </message>
    <message>
        <source>测试图卡</source>
        <translation>&amp;Test Pattern</translation>
    </message>
    <message>
        <source>时间表(&amp;S)</source>
        <translation>Sche&amp;dule</translation>
    </message>
    <message>
        <source>定制时间表</source>
        <translation>&amp;Offline Schedule...</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>&amp;Chinese</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>使用说明(&amp;H)</source>
        <translation>User &amp;Manual</translation>
    </message>
    <message>
        <source>关于 Korvane Controller(&amp;A)...</source>
        <translation>&amp;About Korvane Controller...</translation>
    </message>
    <message>
        <source>运行时间表</source>
        <translation>&amp;Run Schedule...</translation>
    </message>
    <message>
        <source>模板10</source>
        <translation>Template 1&amp;0</translation>
    </message>
</context>
<context>
    <name>korvane::ui::FrameSynchroniser</name>
    <message>
        <source>不支持的分辨率!</source>
        <translation>Unsupported resolution!</translation>
    </message>
</context>
<context>
    <name>korvane::ui::HelpDocument</name>
    <message>
        <source>TRS TX-45使用说明书.pdf</source>
        <translation>TRS TX-45 User Manual.pdf</translation>
    </message>
    <message>
        <source>帮助文件不存在!</source>
        <translation>The help file does not exist!</translation>
    </message>
</context>
<context>
    <name>korvane::ui::PanelNumbers</name>
    <message>
        <source>输入的值超出范围！(%1 ~ %2)</source>
        <translation>The value entered is out of range! (%1 ~ %2)</translation>
    </message>
</context>
<context>
    <name>korvane::ui::PlanLabels</name>
    <message>
        <source>请填入一个在%1和%2之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>korvane::ui::RemoteControlDialog</name>
    <message>
        <source>远程控制</source>
        <translation>Remote Control</translation>
    </message>
    <message>
        <source>启用远程控制</source>
        <translation>Enable remote control</translation>
    </message>
    <message>
        <source>HTTP 端口:</source>
        <translation>HTTP port:</translation>
    </message>
    <message>
        <source>OSC 端口:</source>
        <translation>OSC port:</translation>
    </message>
    <message>
        <source>监听地址:</source>
        <translation>Listen address:</translation>
    </message>
    <message>
        <source>更换令牌</source>
        <translation>New Token</translation>
    </message>
    <message>
        <source>令牌:</source>
        <translation>Token:</translation>
    </message>
    <message>
        <source>监听地址无效</source>
        <translation>The listen address is not valid</translation>
    </message>
    <message>
        <source>无法保存设置</source>
        <translation>The settings could not be saved</translation>
    </message>
</context>
<context>
    <name>korvane::ui::RemoteHost</name>
    <message>
        <source>远程操作失败: %1</source>
        <translation>Remote action failed: %1</translation>
    </message>
    <message>
        <source>远程操作: %1</source>
        <translation>Remote action: %1</translation>
    </message>
    <message>
        <source>远程控制...</source>
        <translation>&amp;Remote Control...</translation>
    </message>
    <message>
        <source>远程控制: 失败 (%1)</source>
        <translation>Remote control: failed (%1)</translation>
    </message>
    <message>
        <source>远程控制: %1 HTTP %2 OSC %3</source>
        <translation>Remote control: %1 HTTP %2 OSC %3</translation>
    </message>
    <message>
        <source>远程控制: 关</source>
        <translation>Remote control: off</translation>
    </message>
</context>
<context>
    <name>korvane::ui::SerialPortChoice</name>
    <message>
        <source>设备 %1 不存在</source>
        <translation>No such device: %1</translation>
    </message>
    <message>
        <source>没有权限打开 %1 (当前用户是否在该设备所属的组中, 例如 dialout?)</source>
        <translation>Permission denied: %1 (is this user in the device&apos;s group, e.g. dialout?)</translation>
    </message>
    <message>
        <source>%1 正被其他程序使用</source>
        <translation>Device busy: %1 (another program holds it)</translation>
    </message>
    <message>
        <source>%1 不是串口设备</source>
        <translation>Not a serial device: %1</translation>
    </message>
    <message>
        <source>无法打开 %1</source>
        <translation>Cannot open %1</translation>
    </message>
    <message>
        <source>无法打开 %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
</context>
<context>
    <name>korvane::ui::LinkStatusField</name>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>网络 %1:%2</source>
        <translation>Network %1:%2</translation>
    </message>
    <message>
        <source>演示模式</source>
        <translation>Demo</translation>
    </message>
    <message>
        <source>演示模式 (模拟处理器 %1)</source>
        <translation>Demo (simulated processor %1)</translation>
    </message>
    <message>
        <source>串口 %1</source>
        <translation>Serial %1</translation>
    </message>
    <message>
        <source>✗ 正在重新连接: %1</source>
        <translation>✗ Reconnecting: %1</translation>
    </message>
    <message>
        <source>✗ 连接已断开: %1</source>
        <translation>✗ Link lost: %1</translation>
    </message>
    <message>
        <source>✓ 已重新连接: %1</source>
        <translation>✓ Reconnected: %1</translation>
    </message>
</context>
<context>
    <name>korvane::ui::DeviceTemplates</name>
    <message>
        <source>已保存到处理器模板%1</source>
        <translation>Stored to processor template %1</translation>
    </message>
</context>
</TS>
