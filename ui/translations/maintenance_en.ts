<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DlpDeviceDetails</name>
    <message>
        <source>Find</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Maintenance</source>
        <translation>Maintenance</translation>
    </message>
    <message>
        <source>Upgrade controller software</source>
        <translation>Upgrade controller software</translation>
    </message>
    <message>
        <source>Upgrade control board firmware</source>
        <translation>Upgrade control board firmware</translation>
    </message>
    <message>
        <source>Light machine calibration file</source>
        <translation>Light machine calibration file</translation>
    </message>
    <message>
        <source>Optical power test image</source>
        <translation>Optical power test image</translation>
    </message>
    <message>
        <source>Consumables package file</source>
        <translation>Consumables package file</translation>
    </message>
    <message>
        <source>Reset light machine calibration</source>
        <translation>Reset light machine calibration</translation>
    </message>
    <message>
        <source>System configuration package</source>
        <translation>System configuration package</translation>
    </message>
    <message>
        <source>Download core dump files</source>
        <translation>Download core dump files</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>Progress info</translation>
    </message>
    <message>
        <source>Device:%1:%2</source>
        <translation>Device:%1:%2</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tip</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>The SSH host key of %1 has changed.
Known key: %2
Presented key: %3
Accept the new key only if the printer&apos;s controller was replaced or reinstalled. Accept it?</source>
        <translation>The SSH host key of %1 has changed.
Known key: %2
Presented key: %3
Accept the new key only if the printer&apos;s controller was replaced or reinstalled. Accept it?</translation>
    </message>
    <message>
        <source>SSH env initializing successful</source>
        <translation>SSH environment initializing suceed.</translation>
    </message>
    <message>
        <source>SSH env initializing failed</source>
        <translation>SSH environment initializing failed.</translation>
    </message>
    <message>
        <source>The SSH environment was not successfully established.</source>
        <translation>The SSH environment was not successfully established.</translation>
    </message>
    <message>
        <source>rpiAInfo</source>
        <translation>A board info</translation>
    </message>
    <message>
        <source>rpiBInfo</source>
        <translation>B board info</translation>
    </message>
    <message>
        <source>controlInfo</source>
        <translation>Control board info</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Select the light machine calibration file</source>
        <translation>Select the light machine calibration file</translation>
    </message>
    <message>
        <source>Config File(*.ini)</source>
        <translation>Config File(*.ini)</translation>
    </message>
    <message>
        <source>Select the optical power test file</source>
        <translation>Select the optical power test file</translation>
    </message>
    <message>
        <source>Image File(*.bmp)</source>
        <translation>Image File(*.bmp)</translation>
    </message>
    <message>
        <source>Select the consumables package file</source>
        <translation>Select the consumables package file</translation>
    </message>
    <message>
        <source>Material File(*.ini)</source>
        <translation>Material File(*.ini)</translation>
    </message>
    <message>
        <source>Select the system configuration file</source>
        <translation>Select the system configuration file</translation>
    </message>
    <message>
        <source>Image File(*.zip)</source>
        <translation>Image File(*.zip)</translation>
    </message>
    <message>
        <source>No configuration files were selected</source>
        <translation>No configuration files were selected.</translation>
    </message>
    <message>
        <source>The power value of the optical machine will affect the printing effect without calibration. If you need to re-calibrate the device please click Yes,otherwise, please click No</source>
        <translation>The power value of the optical machine will affect the printing effect without calibration. If you need to re-calibrate the device please click Yes,otherwise, please click No</translation>
    </message>
    <message>
        <source>Save dump file</source>
        <translation>Save dump file</translation>
    </message>
    <message>
        <source>No Directory were selected</source>
        <translation>No directory were selected.</translation>
    </message>
    <message>
        <source>Empty Search Field</source>
        <translation>Empty Search Field</translation>
    </message>
    <message>
        <source>The search field is empty. Please enter a word and click Find.</source>
        <translation>The search field is empty. Please enter a word and click Find.</translation>
    </message>
    <message>
        <source>Word Not Found</source>
        <translation>Word Not Found</translation>
    </message>
    <message>
        <source>Sorry, the word cannot be found.</source>
        <translation>Sorry, the word cannot be found.</translation>
    </message>
    <message>
        <source>isPrinting</source>
        <translation>The printer is printing. Updating will cause printing fail.Please confirm whether to update.</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>cancel</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>Error:%1</source>
        <translation>Error:%1</translation>
    </message>
    <message>
        <source>Light Machine config reset failed:</source>
        <translation>Light machine configuration reset failed.</translation>
    </message>
    <message>
        <source>Light Machine config reset successful</source>
        <translation>Light machine configuratio reset successful.</translation>
    </message>
    <message>
        <source>upgrade package upload failed</source>
        <translation>Upgrade package uploading failed</translation>
    </message>
    <message>
        <source>install upgrade package failed</source>
        <translation>Upgrade package installation failed</translation>
    </message>
    <message>
        <source>device reboot failed</source>
        <translation>Device reboot failed.</translation>
    </message>
</context>
<context>
    <name>DlpRPISoftwareUpgrade</name>
    <message>
        <source>upgradeSoftware</source>
        <translation>Controller software upgrade</translation>
    </message>
    <message>
        <source>loadFromLocal</source>
        <translation>Load from local</translation>
    </message>
    <message>
        <source>loadFromNet</source>
        <translation>Load from network</translation>
    </message>
    <message>
        <source>upgrade</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>LoadingSoftwareFile</source>
        <translation>Select the software upgrade package</translation>
    </message>
    <message>
        <source>Software</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>No upgrade packages were selected</source>
        <translation>No upgrade packages were selected</translation>
    </message>
    <message>
        <source>upgradePackageSent</source>
        <translation>The upgrade package is being sent to the printer.</translation>
    </message>
</context>
<context>
    <name>DlpHardwareUpgrade</name>
    <message>
        <source>upgradeHardware</source>
        <translation>Control board firmware upgrade</translation>
    </message>
    <message>
        <source>LoadingHardwareFile</source>
        <translation>Load firmware file</translation>
    </message>
    <message>
        <source>DownloadHardwareFile</source>
        <translation>Download firmware file</translation>
    </message>
    <message>
        <source>upgrade</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>Hardware</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>NoHardwareFile</source>
        <translation>No hardware file for upgrade</translation>
    </message>
    <message>
        <source>EraseOk</source>
        <translation>Erase succeeded</translation>
    </message>
    <message>
        <source>Upgrading</source>
        <translation>Upgrading...</translation>
    </message>
    <message>
        <source>UpgradeSuccessful</source>
        <translation>Upgrade succeed</translation>
    </message>
    <message>
        <source>UpgradeFailed</source>
        <translation>Upgrade failed</translation>
    </message>
    <message>
        <source>noHardwareDownload</source>
        <translation>Firmware files are not offered for download. Load a firmware file (.bin) from this computer instead.</translation>
    </message>
</context>
</TS>
