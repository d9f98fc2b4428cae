<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CDlpMainWindow</name>
    <message>
        <source>startupFileNotOpened</source>
        <translation>未打开 %1：窗口可打开零件（.stl、.obj、.slc）和工程（.vxpj、.orvane）。</translation>
    </message>
    <message>
        <source>startupPlatformIgnored</source>
        <translation>已忽略 --platform %1：请以毫米给出平台尺寸 X,Y,Z，例如 96,54,160。</translation>
    </message>
</context>
<context>
    <name>DlpOrvaneApp</name>
    <message>
        <source>outOfPlatformGoOn</source>
        <translation>以下模型超出打印范围，超出部分将不会被打印：%1
仍然继续吗？</translation>
    </message>
</context>
<context>
    <name>DIoError</name>
    <message>
        <source>Vxpj file open error</source>
        <translation>工程文件无法打开</translation>
    </message>
    <message>
        <source>Vxpj file write error</source>
        <translation>工程文件无法写入</translation>
    </message>
    <message>
        <source>Open scence file error</source>
        <translation>模型文件无法写入</translation>
    </message>
    <message>
        <source>Truncated binary STL</source>
        <translation>二进制 STL 文件不完整</translation>
    </message>
    <message>
        <source>Truncated ASCII STL</source>
        <translation>文本 STL 文件不完整</translation>
    </message>
    <message>
        <source>Malformed ASCII STL</source>
        <translation>文本 STL 文件格式错误</translation>
    </message>
    <message>
        <source>Not a binary STL</source>
        <translation>不是二进制 STL 文件</translation>
    </message>
    <message>
        <source>Truncated SLC file</source>
        <translation>SLC 文件不完整</translation>
    </message>
    <message>
        <source>Malformed SLC file</source>
        <translation>SLC 文件格式错误</translation>
    </message>
    <message>
        <source>Not an SLC file</source>
        <translation>不是 SLC 文件</translation>
    </message>
    <message>
        <source>Not a project file (.vxpj)</source>
        <translation>不是工程文件（.vxpj）</translation>
    </message>
    <message>
        <source>Face found with less three indices.</source>
        <translation>文件中有少于三个顶点的面。</translation>
    </message>
    <message>
        <source>VxpjV1 Open file error</source>
        <translation>工程文件（版本 1）无法打开</translation>
    </message>
    <message>
        <source>vxpj file version read error</source>
        <translation>无法读取工程文件的版本</translation>
    </message>
    <message>
        <source>vxpj unserialize failed</source>
        <translation>无法读取工程文件的内容</translation>
    </message>
    <message>
        <source>Unknown file type</source>
        <translation>未知的文件类型</translation>
    </message>
    <message>
        <source>Canceled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>Only one project is opened at a time</source>
        <translation>一次只能打开一个工程</translation>
    </message>
    <message>
        <source>Not opened: the load was cancelled</source>
        <translation>未打开：加载已取消</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>是(&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>否(&amp;N)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>放弃</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>全部是(&amp;A)</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>全部否(&amp;O)</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>忽略</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>恢复默认</translation>
    </message>
</context>
</TS>
