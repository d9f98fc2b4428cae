<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DlpUpgradeW</name>
    <message>
        <source>Form</source>
        <translation>Software upgrade</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>upgrade</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Download failed: %1</source>
        <translation>Download failed: %1</translation>
    </message>
    <message>
        <source>Checking for a new version ...</source>
        <translation>Checking for a new version ...</translation>
    </message>
</context>
<context>
    <name>HttpUpgrade</name>
    <message>
        <source>New Version:%1
Current Version:%2
Are you sure to Upgrade?</source>
        <translation>New Version:%1
Current Version:%2
Are you sure to Upgrade?</translation>
    </message>
    <message>
        <source>timeout</source>
        <translation>The update service did not answer in time (timeout).</translation>
    </message>
    <message>
        <source>version unit is empty!</source>
        <translation>The update service did not offer a version.</translation>
    </message>
    <message>
        <source>No new version to upgrade</source>
        <translation>No new version to upgrade</translation>
    </message>
    <message>
        <source>url unit is empty!</source>
        <translation>The update service did not give a download address.</translation>
    </message>
    <message>
        <source>updates are not configured</source>
        <translation>Updates are not configured: no update service address is set.</translation>
    </message>
    <message>
        <source>errornum:*#0000noact</source>
        <translation>The update service does not offer this update.</translation>
    </message>
</context>
<context>
    <name>HttpQuery</name>
    <message>
        <source>A download is already running.</source>
        <translation>A download is already running.</translation>
    </message>
    <message>
        <source>Cannot create the download file %1: %2</source>
        <translation>Cannot create the download file %1: %2</translation>
    </message>
    <message>
        <source>The download ended after %1 of %2 bytes.</source>
        <translation>The download ended after %1 of %2 bytes.</translation>
    </message>
</context>
<context>
    <name>DlpPCUpdater</name>
    <message>
        <source>The installer was kept at %1</source>
        <translation>The program stays open; the installer was kept at %1</translation>
    </message>
</context>
<context>
    <name>SdUpdateInformation</name>
    <message>
        <source>About Us</source>
        <translation>About Us</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>company</source>
        <translation>Orvane</translation>
    </message>
    <message>
        <source>3dService</source>
        <translation>Resinor: print preparation for DLP resin 3D printers</translation>
    </message>
    <message>
        <source>3dService1</source>
        <translation>Import, arrange, support and slice models, and send them to the printers on your network.</translation>
    </message>
    <message>
        <source>3dService2</source>
        <translation>Patchwyn keeps Resinor up to date.</translation>
    </message>
    <message>
        <source>Change log</source>
        <translation>Change log</translation>
    </message>
    <message>
        <source>Online Update</source>
        <translation>Online Update</translation>
    </message>
    <message>
        <source>Look change logs</source>
        <translation>Look change logs</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>enableAutoDetectNewVersion</source>
        <translation>Check for new versions automatically at start</translation>
    </message>
    <message>
        <source>Current Version</source>
        <translation>Current Version</translation>
    </message>
    <message>
        <source>updatesNotConfigured</source>
        <translation>Updates are not configured: no update service address is set (setting update/serviceUrl, RESINOR_UPDATE_URL or --update-url).</translation>
    </message>
    <message>
        <source>updaterStarted</source>
        <translation>The updater has been started.</translation>
    </message>
    <message>
        <source>updaterNotStarted</source>
        <translation>The updater could not be started: %1</translation>
    </message>
    <message>
        <source>browserNotStarted</source>
        <translation>No web browser could open %1</translation>
    </message>
</context>
</TS>
