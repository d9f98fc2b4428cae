<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DlpDeviceInfoUI</name>
    <message>
        <source>filename</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>hasPrintHeight</source>
        <translation>Printed height:</translation>
    </message>
    <message>
        <source>totalPrintHeight</source>
        <translation>Total height:</translation>
    </message>
    <message>
        <source>startTime</source>
        <translation>Start time:</translation>
    </message>
    <message>
        <source>costTime</source>
        <translation>Est. print time:</translation>
    </message>
    <message>
        <source>endTime</source>
        <translation>Est. end time:</translation>
    </message>
    <message>
        <source>suppliesType</source>
        <translation>Material type:</translation>
    </message>
    <message>
        <source>The device software is too low ,
you must be upgrade to 
more than 0.2.2.0</source>
        <translation>The device software is too low ,
you must be upgrade to 
more than 0.2.2.0</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>devices</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>SureisRuning</source>
        <translation>Device is printing. Are you sure to operate?</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>no</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>stopPrint</source>
        <translation>Confirm to stop printing</translation>
    </message>
    <message>
        <source>canotNoRestore</source>
        <translation>The printing cannot be restored.Please make sure.</translation>
    </message>
    <message>
        <source>deviceIsOccupy</source>
        <translation>Device is occupied. Please select device avaliable. The user is:</translation>
    </message>
    <message>
        <source>pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>continue</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>sendFailed</source>
        <translation>Sending failed:</translation>
    </message>
</context>
<context>
    <name>DlpDeviceScene</name>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>noDevice</source>
        <translation>No selected device. Please select device.</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>selectAll</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>sceneUp</source>
        <translation>Send scene</translation>
    </message>
    <message>
        <source>vxprUp</source>
        <translation>Send package</translation>
    </message>
    <message>
        <source>noPrinterFound</source>
        <translation>No printer found yet. Printers on the network appear here.</translation>
    </message>
    <message>
        <source>sendFailedTo</source>
        <translation>Sending to printer %1 (%2) failed: %3</translation>
    </message>
</context>
<context>
    <name>DlpDeviceManager</name>
    <message>
        <source>deviceManageTitle</source>
        <translation>Device management</translation>
    </message>
    <message>
        <source>deviceIndex</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>info</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>deviceInfo</source>
        <translation>Device info</translation>
    </message>
    <message>
        <source>infoDeclare</source>
        <translation>Info declare</translation>
    </message>
    <message>
        <source>deviceName</source>
        <translation>Device name</translation>
    </message>
    <message>
        <source>deviceID</source>
        <translation>Device ID</translation>
    </message>
    <message>
        <source>rpiAVersion</source>
        <translation>A board version</translation>
    </message>
    <message>
        <source>deviceState</source>
        <translation>Device state</translation>
    </message>
    <message>
        <source>deviceIP</source>
        <translation>Device IP</translation>
    </message>
    <message>
        <source>suppliesIsEnough</source>
        <translation>Whether the material is enough</translation>
    </message>
    <message>
        <source>suppliesInfo</source>
        <translation>Material info</translation>
    </message>
    <message>
        <source>update</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>maintenanceNotAvailable</source>
        <translation>Maintenance of printer %1 (%2) is not available in this version.</translation>
    </message>
</context>
<context>
    <name>DlpOrvaneApp</name>
    <message>
        <source>noDevice</source>
        <translation>No selected device. Please select device.</translation>
    </message>
    <message>
        <source>Open VXPR File</source>
        <translation>Open VXPR File</translation>
    </message>
</context>
</TS>
