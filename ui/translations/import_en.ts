<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DModelIoManager</name>
    <message>
        <source>3D Model Files...</source>
        <translation>Open 3D Model File</translation>
    </message>
</context>
</TS>
