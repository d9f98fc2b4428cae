<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>SdSupportConfigFiles</name>
    <message>
        <source>supportTitle</source>
        <translation>Supports</translation>
    </message>
    <message>
        <source>Select support setting</source>
        <translation>Choose support settings</translation>
    </message>
    <message>
        <source>ModifySupportPara</source>
        <translation>Modify parameters</translation>
    </message>
    <message>
        <source>GenerateSupport</source>
        <translation>Generate supports</translation>
    </message>
    <message>
        <source>RemoveSupport</source>
        <translation>Remove supports</translation>
    </message>
    <message>
        <source>StartEditSupport</source>
        <translation>Edit support</translation>
    </message>
    <message>
        <source>StopEditSupport</source>
        <translation>Stop editing supports</translation>
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
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NO</translation>
    </message>
    <message>
        <source>cannotGenerateSupport</source>
        <translation>Cannot generate supports</translation>
    </message>
    <message>
        <source>cannotEditSupport</source>
        <translation>Cannot edit supports</translation>
    </message>
    <message>
        <source>paraIsValid,modifyPara</source>
        <translation>Support parameters is invalid, please modify the support parameters!</translation>
    </message>
    <message>
        <source>wfWarmingTitle</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>wfIsDeleteSupport</source>
        <translation>Delete supports? Support cannot be restored.</translation>
    </message>
    <message>
        <source>supportJobFailed</source>
        <translation>Supports could not be generated:</translation>
    </message>
    <message>
        <source>noModelSelected</source>
        <translation>Select a model first.</translation>
    </message>
</context>
<context>
    <name>DlpSupportWidget</name>
    <message>
        <source>supportParaModify</source>
        <translation>Modify support parameter</translation>
    </message>
    <message>
        <source>supportMethodLabel</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>Method A</source>
        <translation>Method A</translation>
    </message>
    <message>
        <source>Method B</source>
        <translation>Method B</translation>
    </message>
    <message>
        <source>overhangDiameterLabel</source>
        <translation>Top diameter (mm)</translation>
    </message>
    <message>
        <source>linkPointDiameterLabel</source>
        <translation>Link point diameter (mm)</translation>
    </message>
    <message>
        <source>supportGapsLabel</source>
        <translation>Support gap (mm)</translation>
    </message>
    <message>
        <source>supportDiameterLabel</source>
        <translation>Support diameter (mm)</translation>
    </message>
    <message>
        <source>supportHeightLabel</source>
        <translation>Support height (mm)</translation>
    </message>
    <message>
        <source>supportBaseHeightLabel</source>
        <translation>Base height (mm)</translation>
    </message>
    <message>
        <source>supportBaseExternLabel</source>
        <translation>Base extension (mm)</translation>
    </message>
    <message>
        <source>isHasSupportsLabel</source>
        <translation>The model has supports of its own</translation>
    </message>
    <message>
        <source>isAddSupportBaseLabel</source>
        <translation>Add a support base</translation>
    </message>
    <message>
        <source>applyPara</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>savePara</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>discardPara</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>waring</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>linkPointRadiusBigThanOverhangRadius</source>
        <translation>Link point diameter cannot exceed top diameter</translation>
    </message>
    <message>
        <source>linkPointRadiusLittleThanSupportRadius</source>
        <translation>Link point diameter cannot exceed support diameter</translation>
    </message>
    <message>
        <source>parameterIsEmpty</source>
        <translation>Parameter cannot be empty!</translation>
    </message>
    <message>
        <source>parameterUnusable</source>
        <translation>These parameters cannot be used:</translation>
    </message>
    <message>
        <source>parameterIsSaveSucess</source>
        <translation>Support confirguration files saved </translation>
    </message>
    <message>
        <source>Support profile...</source>
        <translation>Support configuration</translation>
    </message>
    <message>
        <source>Support Profile Files (*.ini)</source>
        <translation>Support configuration files(*.ini)</translation>
    </message>
</context>
</TS>
