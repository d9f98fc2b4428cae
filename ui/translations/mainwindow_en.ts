<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CBaseWindow</name>
    <message>
        <source>MainWindowMenu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>MainWindowMin</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>MainWindowMax</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>MainWindowNomal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>MainWindowClose</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CDlpMainWindow</name>
    <message>
        <source>OrvaneCorp</source>
        <translation>Resinor - DLP print preparation</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>saveModel?</source>
        <translation>Save Model?</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>no</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DlpMenuBar</name>
    <message>
        <source>file</source>
        <translation>File</translation>
    </message>
    <message>
        <source>importStl</source>
        <translation>Import STL</translation>
    </message>
    <message>
        <source>exportStl</source>
        <translation>Export STL</translation>
    </message>
    <message>
        <source>importVxpj</source>
        <translation>Import Vxpj</translation>
    </message>
    <message>
        <source>exportVxpj</source>
        <translation>Export Vxpj</translation>
    </message>
    <message>
        <source>exportVxpr</source>
        <translation>Export Vxpr</translation>
    </message>
    <message>
        <source>tool</source>
        <translation>Tool</translation>
    </message>
    <message>
        <source>up</source>
        <translation>Upload\Print</translation>
    </message>
    <message>
        <source>deviceManage</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>createBasicModel</source>
        <translation>Creat basic model</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Languages</translation>
    </message>
    <message>
        <source>login</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>choise</source>
        <translation>Choice</translation>
    </message>
    <message>
        <source>window</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>model_infos</source>
        <translation>Model info list</translation>
    </message>
    <message>
        <source>help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>aboutSoft</source>
        <translation>About software</translation>
    </message>
</context>
<context>
    <name>DlpModelOperateWidget</name>
    <message>
        <source>loadModel</source>
        <translation>Load model</translation>
    </message>
    <message>
        <source>scaleModel</source>
        <translation>Scale model</translation>
    </message>
    <message>
        <source>rorateModel</source>
        <translation>Rotate model</translation>
    </message>
    <message>
        <source>layoutModel</source>
        <translation>Layout models</translation>
    </message>
    <message>
        <source>jewelrySupport</source>
        <translation>Manual supports</translation>
    </message>
    <message>
        <source>originSupport</source>
        <translation>Supports</translation>
    </message>
    <message>
        <source>deviceManage</source>
        <translation>Device</translation>
    </message>
</context>
<context>
    <name>DlpStatusBarWidget</name>
    <message>
        <source>overPrint</source>
        <translation>Beyond printing range</translation>
    </message>
</context>
<context>
    <name>DlpProccessBar</name>
    <message>
        <source>cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ModalLoding</source>
        <translation>Loading model</translation>
    </message>
    <message>
        <source>Save Points Datas</source>
        <translation>Saving points</translation>
    </message>
    <message>
        <source>Save Topo Info</source>
        <translation>Saving topology</translation>
    </message>
    <message>
        <source>Success Saved</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>Load Points Datas</source>
        <translation>Loading points</translation>
    </message>
    <message>
        <source>Load Topo Datas</source>
        <translation>Loading topology</translation>
    </message>
    <message>
        <source>Success Loaded</source>
        <translation>Loaded</translation>
    </message>
    <message>
        <source>Slicing</source>
        <translation>Slicing</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>Preparing</translation>
    </message>
    <message>
        <source>Net transfor file</source>
        <translation>Sending file</translation>
    </message>
    <message>
        <source>SupportCalucate</source>
        <translation>Calculating supports</translation>
    </message>
    <message>
        <source>ctlSupportGenaration</source>
        <translation>Generating supports</translation>
    </message>
    <message>
        <source>ctlSupportBaseGenaration</source>
        <translation>Generating support base</translation>
    </message>
</context>
<context>
    <name>DlpPanelPlaceholder</name>
    <message>
        <source>scalePanel</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>rotatePanel</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>layoutPanel</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>manualSupportPanel</source>
        <translation>Manual supports</translation>
    </message>
    <message>
        <source>supportPanel</source>
        <translation>Supports</translation>
    </message>
    <message>
        <source>modelInfosPanel</source>
        <translation>Model info list</translation>
    </message>
    <message>
        <source>panelComingSoon</source>
        <translation>This panel will be available in a later version.</translation>
    </message>
</context>
<context>
    <name>DlpGlCamareWidget</name>
    <message>
        <source>topView</source>
        <translation>Top view</translation>
    </message>
    <message>
        <source>bottomView</source>
        <translation>Bottom view</translation>
    </message>
    <message>
        <source>leftView</source>
        <translation>Left view</translation>
    </message>
    <message>
        <source>rightView</source>
        <translation>Right view</translation>
    </message>
    <message>
        <source>homeView</source>
        <translation>Front view</translation>
    </message>
    <message>
        <source>farView</source>
        <translation>Far view</translation>
    </message>
    <message>
        <source>nearView</source>
        <translation>Near view</translation>
    </message>
</context>
<context>
    <name>DlpMainWindow</name>
    <message>
        <source>3D Model Files...</source>
        <comment>open</comment>
        <translation>Open 3D Model File</translation>
    </message>
    <message>
        <source>Model Files (*.stl *.obj *.slc)</source>
        <translation>Model Files (*.stl *.obj *.slc)</translation>
    </message>
    <message>
        <source>openProject</source>
        <translation>Open Program File</translation>
    </message>
    <message>
        <source>Project Files (*.vxpj)</source>
        <translation>Program file (*.vxpj)</translation>
    </message>
    <message>
        <source>noApplication</source>
        <translation>The application is not running.</translation>
    </message>
    <message>
        <source>engineEdit</source>
        <translation>Program editor</translation>
    </message>
    <message>
        <source>currentDevice</source>
        <translation>Current device</translation>
    </message>
    <message>
        <source>noDeviceView</source>
        <translation>The printer view is not available in this version yet.</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>noModelInScene!</source>
        <translation>No model file in the scene</translation>
    </message>
    <message>
        <source>3D Model Files...</source>
        <translation>Save 3D Model File</translation>
    </message>
    <message>
        <source>Model Files (*.stl)</source>
        <translation>Model Files (*.stl)</translation>
    </message>
    <message>
        <source>3D Engining Bag...</source>
        <translation>Save Program File</translation>
    </message>
    <message>
        <source>Orvane Dlp Engining Bag (*.vxpj)</source>
        <translation>Program file(*.vxpj)</translation>
    </message>
    <message>
        <source>saveSucess</source>
        <translation>Save succeed</translation>
    </message>
    <message>
        <source>saveFailed</source>
        <translation>Save failed</translation>
    </message>
    <message>
        <source>notAvailableYet</source>
        <translation>%1 is not available in this version yet.</translation>
    </message>
    <message>
        <source>deviceManageTitle</source>
        <translation>Device management</translation>
    </message>
    <message>
        <source>createBasicModelTitle</source>
        <translation>Creating basic models</translation>
    </message>
    <message>
        <source>exportVxpjTitle</source>
        <translation>Saving projects</translation>
    </message>
    <message>
        <source>exportVxprTitle</source>
        <translation>Exporting print packages</translation>
    </message>
    <message>
        <source>upgradeTitle</source>
        <translation>Software update</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Languages</translation>
    </message>
    <message>
        <source>chooseLanguage</source>
        <translation>Language of the user interface:</translation>
    </message>
    <message>
        <source>choise</source>
        <translation>Choice</translation>
    </message>
    <message>
        <source>noOptions</source>
        <translation>There are no options to set.</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>noLogin</source>
        <translation>Signing in is not needed to use the printers.</translation>
    </message>
    <message>
        <source>aboutSoft</source>
        <translation>About software</translation>
    </message>
    <message>
        <source>aboutText</source>
        <translation>%1 %2
Prepares print jobs for DLP resin printers.</translation>
    </message>
    <message>
        <source>loadFailed</source>
        <translation>These files could not be loaded:
%1</translation>
    </message>
</context>
</TS>
