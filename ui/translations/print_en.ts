<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DlpConfigAccuracyForm</name>
    <message>
        <source>Accuracy Setting</source>
        <translation>Accuracy Setting</translation>
    </message>
    <message>
        <source>hasalreadSlc</source>
        <translation>Setting--SLC model in program, cannot set precision.</translation>
    </message>
    <message>
        <source>LayerThickness:</source>
        <translation>LayerThickness:</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>willfilename</source>
        <translation>Display file name:</translation>
    </message>
    <message>
        <source>Prohibition of special characters</source>
        <translation>File name cannot include:
\ / &quot; : * ? &lt; &gt; |</translation>
    </message>
    <message>
        <source>invalidAccuracy</source>
        <translation>The layer thickness must be a positive number of millimetres.</translation>
    </message>
</context>
<context>
    <name>DlpOrvaneApp</name>
    <message>
        <source>PrecisionError</source>
        <translation>Precision Error</translation>
    </message>
    <message>
        <source>MultiSlc</source>
        <translation>Multi SLC files with different precision. Please delete some SLC files and ensure unified precision.</translation>
    </message>
    <message>
        <source>PrecisionTip</source>
        <translation>Precision Tip</translation>
    </message>
    <message>
        <source>hasSlc</source>
        <translation>There are SLC files in the program. The precision shall be the same as the SLC file precision.
Click OK to continue, or Cancel to return to the main interface.</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>vxprWriteFailed</source>
        <translation>The work package could not be written:</translation>
    </message>
</context>
</TS>
