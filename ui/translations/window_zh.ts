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
</TS>
