<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DSupportWindow</name>
    <message>
        <source>Form</source>
        <translation>Add Supports</translation>
    </message>
    <message>
        <source>jewSupportLabel</source>
        <translation>Jewelry Supports</translation>
    </message>
    <message>
        <source>isLimitAtZAxis</source>
        <translation>Limit to Z Axis</translation>
    </message>
    <message>
        <source>isGrowFromFloor</source>
        <translation>Grow from the ground</translation>
    </message>
    <message>
        <source>isChoosePlatform</source>
        <translation>Platform prior</translation>
    </message>
    <message>
        <source>topBallRadius</source>
        <translation>Top ball radius</translation>
    </message>
    <message>
        <source>bottomBallRadius</source>
        <translation>Bottom ball radius</translation>
    </message>
    <message>
        <source>topRadius</source>
        <translation>Top Radius</translation>
    </message>
    <message>
        <source>bottomRadius</source>
        <translation>Bottom Radius</translation>
    </message>
    <message>
        <source>MoveUpValue</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>VectexZMax</source>
        <translation>Top point</translation>
    </message>
    <message>
        <source>VectexZMin</source>
        <translation>Bottom Point</translation>
    </message>
    <message>
        <source>endEditSupport</source>
        <translation>End editing supports</translation>
    </message>
    <message>
        <source>beginEditSupport</source>
        <translation>Begin editing supports</translation>
    </message>
    <message>
        <source>cannotEditSupport</source>
        <translation>SLC model file cannot edit supports</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>noModelSelected</source>
        <translation>Select a model first</translation>
    </message>
    <message>
        <source>supportEditorBusy</source>
        <translation>Another editing tool is working in the view; finish it first</translation>
    </message>
</context>
</TS>
