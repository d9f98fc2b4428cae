<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CDlpMainWindow</name>
    <message>
        <source>startupFileNotOpened</source>
        <translation>%1 was not opened: the window opens parts (.stl, .obj, .slc) and projects (.vxpj, .orvane).</translation>
    </message>
    <message>
        <source>startupPlatformIgnored</source>
        <translation>--platform %1 was ignored: give the platform size as X,Y,Z in millimetres, for example 96,54,160.</translation>
    </message>
</context>
<context>
    <name>DlpOrvaneApp</name>
    <message>
        <source>outOfPlatformGoOn</source>
        <translation>These models lie beyond the printing range; what lies outside will not be printed: %1
Go on anyway?</translation>
    </message>
</context>
<context>
    <name>DIoError</name>
    <message>
        <source>Vxpj file open error</source>
        <translation>Vxpj file open error</translation>
    </message>
    <message>
        <source>Vxpj file write error</source>
        <translation>Vxpj file write error</translation>
    </message>
    <message>
        <source>Open scence file error</source>
        <translation>Open scence file error</translation>
    </message>
    <message>
        <source>Truncated binary STL</source>
        <translation>Truncated binary STL</translation>
    </message>
    <message>
        <source>Truncated ASCII STL</source>
        <translation>Truncated ASCII STL</translation>
    </message>
    <message>
        <source>Malformed ASCII STL</source>
        <translation>Malformed ASCII STL</translation>
    </message>
    <message>
        <source>Not a binary STL</source>
        <translation>Not a binary STL</translation>
    </message>
    <message>
        <source>Truncated SLC file</source>
        <translation>Truncated SLC file</translation>
    </message>
    <message>
        <source>Malformed SLC file</source>
        <translation>Malformed SLC file</translation>
    </message>
    <message>
        <source>Not an SLC file</source>
        <translation>Not an SLC file</translation>
    </message>
    <message>
        <source>Not a project file (.vxpj)</source>
        <translation>Not a project file (.vxpj)</translation>
    </message>
    <message>
        <source>Face found with less three indices.</source>
        <translation>Face found with less three indices.</translation>
    </message>
    <message>
        <source>VxpjV1 Open file error</source>
        <translation>VxpjV1 Open file error</translation>
    </message>
    <message>
        <source>vxpj file version read error</source>
        <translation>vxpj file version read error</translation>
    </message>
    <message>
        <source>vxpj unserialize failed</source>
        <translation>vxpj unserialize failed</translation>
    </message>
    <message>
        <source>Unknown file type</source>
        <translation>Unknown file type</translation>
    </message>
    <message>
        <source>Canceled</source>
        <translation>Canceled</translation>
    </message>
    <message>
        <source>Only one project is opened at a time</source>
        <translation>Only one project is opened at a time</translation>
    </message>
    <message>
        <source>Not opened: the load was cancelled</source>
        <translation>Not opened: the load was cancelled</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Yes to &amp;All</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>N&amp;o to All</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignore</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Restore Defaults</translation>
    </message>
</context>
</TS>
