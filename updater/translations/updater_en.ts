<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Patchwyn</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>noNewVersion</source>
        <translation>No upgrades available</translation>
    </message>
    <message>
        <source>hasNewVersion</source>
        <translation>Do you want to continue with the upgrade file?</translation>
    </message>
    <message>
        <source>downLoading</source>
        <translation>Downloading upgrade file ...</translation>
    </message>
    <message>
        <source>downLoadFinished</source>
        <translation>Upgrade file download completed! You will start the upgrade file to complete the upgrade!</translation>
    </message>
    <message>
        <source>install</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>isRuning,sureToClose</source>
        <translation>is running, do you want to force the program to be closed to complete the upgrade?</translation>
    </message>
    <message>
        <source>sureToCancel</source>
        <translation>Update has not been completed, to determine the exit?</translation>
    </message>
    <message>
        <source>update</source>
        <translation>update</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>badFileName</source>
        <translation>The update service offered an unusable file name: %1</translation>
    </message>
    <message>
        <source>downloadFailed</source>
        <translation>The download failed: %1</translation>
    </message>
    <message>
        <source>checksumMismatch</source>
        <translation>The downloaded file does not match its checksum and was removed.</translation>
    </message>
</context>
<context>
    <name>queryer</name>
    <message>
        <source>The update service did not answer in time.</source>
        <translation>The update service did not answer in time.</translation>
    </message>
    <message>
        <source>the download ended after %1 of %2 bytes</source>
        <translation>the download ended after %1 of %2 bytes</translation>
    </message>
</context>
</TS>
