<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DlpOrvaneApp</name>
    <message>
        <source>Tip</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>isRuning</source>
        <translation>正在运行</translation>
    </message>
    <message>
        <source>NoModel</source>
        <translation>没有可打印的模型文件</translation>
    </message>
    <message>
        <source>saveVxpr</source>
        <translation>保存数据包</translation>
    </message>
    <message>
        <source>isSaveVxpr</source>
        <translation>正在保存数据包</translation>
    </message>
    <message>
        <source>noModelInScene!</source>
        <translation>场景中没有模型文件</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
</TS>
