<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>TidewellUpload</name>
    <message>
        <source>Capacity is full</source>
        <translation>Insufficient storage space</translation>
    </message>
    <message>
        <source>Without permission</source>
        <translation>Without copy the permission</translation>
    </message>
    <message>
        <source>Unauthorized operation</source>
        <translation>Unauthorized operation</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>File removed</translation>
    </message>
    <message>
        <source>Space by remove</source>
        <translation>The storage space has been removed</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown exception</translation>
    </message>
</context>
<context>
    <name>LVUploadTask</name>
    <message>
        <source>File does not exist</source>
        <translation>File removed</translation>
    </message>
    <message>
        <source>create Folder fail</source>
        <translation>Failed to create folder</translation>
    </message>
</context>
<context>
    <name>LVUploadManager</name>
    <message>
        <source>File name too long</source>
        <translation>The file name is too long</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>File removed</translation>
    </message>
    <message>
        <source>create Folder fail</source>
        <translation>Failed to create folder</translation>
    </message>
    <message>
        <source>File upload success</source>
        <translation>The file has been uploaded successfully</translation>
    </message>
</context>
</TS>
