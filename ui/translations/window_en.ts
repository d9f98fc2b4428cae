<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CDlpMainWindow</name>
    <message>
        <source>startupFileNotOpened</source>
        <translation>%1 was not opened: the window opens parts (.stl, .obj, .slc) and projects (.vxpj, .orvane).</translation>
    </message>
    <message>
        <source>startupPlatformIgnored</source>
        <translation>--platform %1 was ignored: give the platform size as X,Y,Z in millimetres, for example 96,54,160.</translation>
    </message>
</context>
<context>
    <name>DlpOrvaneApp</name>
    <message>
        <source>outOfPlatformGoOn</source>
        <translation>These models lie beyond the printing range; what lies outside will not be printed: %1
Go on anyway?</translation>
    </message>
</context>
</TS>
