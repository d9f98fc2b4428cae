<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>DModelIoManager</name>
    <message>
        <source>3D Model Files...</source>
        <translation>打开3D模型文件</translation>
    </message>
</context>
</TS>
