<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DlpDeviceDetails</name>
    <message>
        <source>Find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>General</source>
        <translation>概况</translation>
    </message>
    <message>
        <source>Maintenance</source>
        <translation>维护</translation>
    </message>
    <message>
        <source>Upgrade controller software</source>
        <translation>升级主控软件</translation>
    </message>
    <message>
        <source>Upgrade control board firmware</source>
        <translation>升级控制板固件</translation>
    </message>
    <message>
        <source>Light machine calibration file</source>
        <translation>光机校准文件</translation>
    </message>
    <message>
        <source>Optical power test image</source>
        <translation>光功率测试图</translation>
    </message>
    <message>
        <source>Consumables package file</source>
        <translation>耗材数据文件</translation>
    </message>
    <message>
        <source>Reset light machine calibration</source>
        <translation>重置光机校准</translation>
    </message>
    <message>
        <source>System configuration package</source>
        <translation>系统配置包</translation>
    </message>
    <message>
        <source>Download core dump files</source>
        <translation>下载核心转储文件</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>进度信息</translation>
    </message>
    <message>
        <source>Device:%1:%2</source>
        <translation>设备:%1:%2</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The SSH host key of %1 has changed.
Known key: %2
Presented key: %3
Accept the new key only if the printer&apos;s controller was replaced or reinstalled. Accept it?</source>
        <translation>%1 的 SSH 主机密钥已改变。
已知密钥：%2
当前密钥：%3
只有在打印机主控被更换或重装后才应接受新密钥。是否接受？</translation>
    </message>
    <message>
        <source>SSH env initializing successful</source>
        <translation>SSH 环境初始化成功。</translation>
    </message>
    <message>
        <source>SSH env initializing failed</source>
        <translation>SSH 环境初始化失败。</translation>
    </message>
    <message>
        <source>The SSH environment was not successfully established.</source>
        <translation>SSH 环境未能成功建立。</translation>
    </message>
    <message>
        <source>rpiAInfo</source>
        <translation>A 板信息</translation>
    </message>
    <message>
        <source>rpiBInfo</source>
        <translation>B 板信息</translation>
    </message>
    <message>
        <source>controlInfo</source>
        <translation>控制板信息</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Select the light machine calibration file</source>
        <translation>选择光机校准文件</translation>
    </message>
    <message>
        <source>Config File(*.ini)</source>
        <translation>配置文件(*.ini)</translation>
    </message>
    <message>
        <source>Select the optical power test file</source>
        <translation>选择光功率测试文件</translation>
    </message>
    <message>
        <source>Image File(*.bmp)</source>
        <translation>图像文件(*.bmp)</translation>
    </message>
    <message>
        <source>Select the consumables package file</source>
        <translation>选择耗材数据文件</translation>
    </message>
    <message>
        <source>Material File(*.ini)</source>
        <translation>耗材文件(*.ini)</translation>
    </message>
    <message>
        <source>Select the system configuration file</source>
        <translation>选择系统配置文件</translation>
    </message>
    <message>
        <source>Image File(*.zip)</source>
        <translation>压缩包文件(*.zip)</translation>
    </message>
    <message>
        <source>No configuration files were selected</source>
        <translation>未选择配置文件。</translation>
    </message>
    <message>
        <source>The power value of the optical machine will affect the printing effect without calibration. If you need to re-calibrate the device please click Yes,otherwise, please click No</source>
        <translation>未经校准的光机功率值会影响打印效果。如需重新校准设备请点击“是”，否则请点击“否”</translation>
    </message>
    <message>
        <source>Save dump file</source>
        <translation>保存转储文件</translation>
    </message>
    <message>
        <source>No Directory were selected</source>
        <translation>未选择文件夹。</translation>
    </message>
    <message>
        <source>Empty Search Field</source>
        <translation>搜索内容为空</translation>
    </message>
    <message>
        <source>The search field is empty. Please enter a word and click Find.</source>
        <translation>搜索框为空。请输入要查找的词并点击“查找”。</translation>
    </message>
    <message>
        <source>Word Not Found</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>Sorry, the word cannot be found.</source>
        <translation>抱歉，未找到该词。</translation>
    </message>
    <message>
        <source>isPrinting</source>
        <translation>打印机正在打印。更新将导致打印失败。请确认是否更新。</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Error:%1</source>
        <translation>错误:%1</translation>
    </message>
    <message>
        <source>Light Machine config reset failed:</source>
        <translation>光机配置重置失败。</translation>
    </message>
    <message>
        <source>Light Machine config reset successful</source>
        <translation>光机配置重置成功。</translation>
    </message>
    <message>
        <source>upgrade package upload failed</source>
        <translation>升级包上传失败</translation>
    </message>
    <message>
        <source>install upgrade package failed</source>
        <translation>升级包安装失败</translation>
    </message>
    <message>
        <source>device reboot failed</source>
        <translation>设备重启失败。</translation>
    </message>
</context>
<context>
    <name>DlpRPISoftwareUpgrade</name>
    <message>
        <source>upgradeSoftware</source>
        <translation>主控软件升级</translation>
    </message>
    <message>
        <source>loadFromLocal</source>
        <translation>从本地加载</translation>
    </message>
    <message>
        <source>loadFromNet</source>
        <translation>从网络加载</translation>
    </message>
    <message>
        <source>upgrade</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>LoadingSoftwareFile</source>
        <translation>选择软件升级包</translation>
    </message>
    <message>
        <source>Software</source>
        <translation>软件</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>No upgrade packages were selected</source>
        <translation>未选择升级包</translation>
    </message>
    <message>
        <source>upgradePackageSent</source>
        <translation>升级包正在发送到打印机。</translation>
    </message>
</context>
<context>
    <name>DlpHardwareUpgrade</name>
    <message>
        <source>upgradeHardware</source>
        <translation>控制板固件升级</translation>
    </message>
    <message>
        <source>LoadingHardwareFile</source>
        <translation>加载固件文件</translation>
    </message>
    <message>
        <source>DownloadHardwareFile</source>
        <translation>下载固件文件</translation>
    </message>
    <message>
        <source>upgrade</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>Hardware</source>
        <translation>硬件</translation>
    </message>
    <message>
        <source>NoHardwareFile</source>
        <translation>没有用于升级的固件文件</translation>
    </message>
    <message>
        <source>EraseOk</source>
        <translation>擦除成功</translation>
    </message>
    <message>
        <source>Upgrading</source>
        <translation>正在升级...</translation>
    </message>
    <message>
        <source>UpgradeSuccessful</source>
        <translation>升级成功</translation>
    </message>
    <message>
        <source>UpgradeFailed</source>
        <translation>升级失败</translation>
    </message>
    <message>
        <source>noHardwareDownload</source>
        <translation>固件文件不提供下载。请从本机加载固件文件（.bin）。</translation>
    </message>
</context>
</TS>
