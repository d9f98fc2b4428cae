<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DlpUpgradeW</name>
    <message>
        <source>Form</source>
        <translation>软件升级</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>upgrade</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>tip</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>下载失败：%1</translation>
    </message>
    <message>
        <source>Checking for a new version ...</source>
        <translation>正在检查新版本……</translation>
    </message>
</context>
<context>
    <name>HttpUpgrade</name>
    <message>
        <source>New Version:%1
Current Version:%2
Are you sure to Upgrade?</source>
        <translation>新版本：%1
当前版本：%2
确定要升级吗？</translation>
    </message>
    <message>
        <source>timeout</source>
        <translation>更新服务未及时应答（超时）。</translation>
    </message>
    <message>
        <source>version unit is empty!</source>
        <translation>更新服务没有提供版本号。</translation>
    </message>
    <message>
        <source>No new version to upgrade</source>
        <translation>没有可升级的新版本</translation>
    </message>
    <message>
        <source>url unit is empty!</source>
        <translation>更新服务没有提供下载地址。</translation>
    </message>
    <message>
        <source>updates are not configured</source>
        <translation>未配置更新：没有设置更新服务地址。</translation>
    </message>
    <message>
        <source>errornum:*#0000noact</source>
        <translation>更新服务不提供此项更新。</translation>
    </message>
</context>
<context>
    <name>HttpQuery</name>
    <message>
        <source>A download is already running.</source>
        <translation>已有下载正在进行。</translation>
    </message>
    <message>
        <source>Cannot create the download file %1: %2</source>
        <translation>无法创建下载文件 %1：%2</translation>
    </message>
    <message>
        <source>The download ended after %1 of %2 bytes.</source>
        <translation>下载在 %2 字节中的 %1 字节处中断。</translation>
    </message>
</context>
<context>
    <name>DlpPCUpdater</name>
    <message>
        <source>The installer was kept at %1</source>
        <translation>程序保持运行；安装程序保存在 %1</translation>
    </message>
</context>
<context>
    <name>SdUpdateInformation</name>
    <message>
        <source>About Us</source>
        <translation>关于我们</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>company</source>
        <translation>Orvane</translation>
    </message>
    <message>
        <source>3dService</source>
        <translation>Resinor：DLP 光固化 3D 打印机的打印准备软件</translation>
    </message>
    <message>
        <source>3dService1</source>
        <translation>导入、摆放、添加支撑并切片模型，然后发送到网络中的打印机。</translation>
    </message>
    <message>
        <source>3dService2</source>
        <translation>Patchwyn 负责让 Resinor 保持最新。</translation>
    </message>
    <message>
        <source>Change log</source>
        <translation>更新日志</translation>
    </message>
    <message>
        <source>Online Update</source>
        <translation>在线更新</translation>
    </message>
    <message>
        <source>Look change logs</source>
        <translation>查看更新日志</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>enableAutoDetectNewVersion</source>
        <translation>启动时自动检查新版本</translation>
    </message>
    <message>
        <source>Current Version</source>
        <translation>当前版本</translation>
    </message>
    <message>
        <source>updatesNotConfigured</source>
        <translation>未配置更新：没有设置更新服务地址（设置项 update/serviceUrl、环境变量 RESINOR_UPDATE_URL 或 --update-url）。</translation>
    </message>
    <message>
        <source>updaterStarted</source>
        <translation>更新程序已启动。</translation>
    </message>
    <message>
        <source>updaterNotStarted</source>
        <translation>无法启动更新程序：%1</translation>
    </message>
    <message>
        <source>browserNotStarted</source>
        <translation>没有网页浏览器能打开 %1</translation>
    </message>
</context>
</TS>
