<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DlpMenuBar</name>
    <message>
        <source>edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>redo</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>DlpEditActions</name>
    <message>
        <source>undoName</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>redoName</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>undoNothing</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>redoNothing</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>MoveModel</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>RotateModel</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>LayFlat</source>
        <translation>Lay Flat</translation>
    </message>
    <message>
        <source>LayoutModel</source>
        <translation>Auto Layout</translation>
    </message>
    <message>
        <source>ScaleModel</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>CopyModel</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>DeleteModel</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>AddSupport</source>
        <translation>Add Supports</translation>
    </message>
    <message>
        <source>RemoveSupport</source>
        <translation>Remove Supports</translation>
    </message>
</context>
<context>
    <name>DlpScaleWidget</name>
    <message>
        <source>ScaleLabel</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>sizeMm</source>
        <translation>Size (mm)</translation>
    </message>
    <message>
        <source>factor</source>
        <translation>Factor</translation>
    </message>
    <message>
        <source>VolLabel</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>resetScale</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>lockProportions</source>
        <translation>Keep proportions</translation>
    </message>
</context>
<context>
    <name>SdModelRorate</name>
    <message>
        <source>RorateLabel</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>LayFlatCheck</source>
        <translation>Choose bottom</translation>
    </message>
    <message>
        <source>rorateReset</source>
        <translation>Take back the rotations since the last reset</translation>
    </message>
    <message>
        <source>rorateApplyTip</source>
        <translation>Press Enter to rotate by this angle</translation>
    </message>
</context>
<context>
    <name>SdModelLayout</name>
    <message>
        <source>Copying Model</source>
        <translation>Copy models</translation>
    </message>
    <message>
        <source>Layout Models</source>
        <translation>Layout models</translation>
    </message>
    <message>
        <source>Numbers</source>
        <translation>Numbers</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Auto Layout</source>
        <translation>Auto Layout</translation>
    </message>
    <message>
        <source>Selecte All</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Selecte Inverse</source>
        <translation>Select Inverse</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>selectModelToCopy</source>
        <translation>Select the models to copy first.</translation>
    </message>
    <message>
        <source>noModelToLayout</source>
        <translation>There is no model to lay out.</translation>
    </message>
</context>
<context>
    <name>SdModelInfos</name>
    <message>
        <source>fileName</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>size</source>
        <translation>Size(mm)</translation>
    </message>
    <message>
        <source>volume</source>
        <translation>Volume(ml)</translation>
    </message>
    <message>
        <source>NumberOfTrangle</source>
        <translation>Number of triangle</translation>
    </message>
    <message>
        <source>NumberOfPoints</source>
        <translation>Number of points</translation>
    </message>
</context>
<context>
    <name>BasicModelCreateWidget</name>
    <message>
        <source>Form</source>
        <translation>Bulid model</translation>
    </message>
    <message>
        <source>modelType</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>other</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Length (mm)</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width (mm)</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height (mm)</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>invalid rectangle parameter</source>
        <translation>Invalid Rectangle Parameter</translation>
    </message>
    <message>
        <source>otherModelNotOffered</source>
        <translation>Only rectangles can be built; choose "Rectangle".</translation>
    </message>
</context>
<context>
    <name>LanguageChooser</name>
    <message>
        <source>Which Language</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Languages</translation>
    </message>
    <message>
        <source>Language: %1</source>
        <translation>Language: %1</translation>
    </message>
</context>
<context>
    <name>DlpLoginW</name>
    <message>
        <source>Account:</source>
        <translation>Account:</translation>
    </message>
    <message>
        <source>Passwd:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
