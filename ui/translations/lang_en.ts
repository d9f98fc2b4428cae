<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DlpOrvaneApp</name>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>isRuning</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>NoModel</source>
        <translation>No model file for printing</translation>
    </message>
    <message>
        <source>saveVxpr</source>
        <translation>Save package</translation>
    </message>
    <message>
        <source>isSaveVxpr</source>
        <translation>Saving package</translation>
    </message>
    <message>
        <source>noModelInScene!</source>
        <translation>No model file in scenario</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
</context>
</TS>
