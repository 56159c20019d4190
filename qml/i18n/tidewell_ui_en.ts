<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>BaseListModel</name>
    <message>
        <source>No File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BtTaskModel</name>
    <message>
        <source>Network exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download BT Failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capacity is not enough</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No copyright</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No resources</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download BT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComposeListModel</name>
    <message>
        <source>Network Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CopyFailModel</name>
    <message>
        <source>Copy to person</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to SMB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to peripheral</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capacity is full</source>
        <translation type="unfinished">Insufficient storage space</translation>
    </message>
    <message>
        <source>Source is not exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group is not exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without permission</source>
        <translation type="unfinished">Without copy the permission</translation>
    </message>
    <message>
        <source>Unauthorized operation</source>
        <translation type="unfinished">Unauthorized operation</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation type="unfinished">File removed</translation>
    </message>
    <message>
        <source>Space by remove</source>
        <translation type="unfinished">The storage space has been removed</translation>
    </message>
    <message>
        <source>Peripheral by remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder by remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished">Unknown exception</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CreateLinkDialog</name>
    <message>
        <source>Create link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Optional</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceLauncher</name>
    <message>
        <source>Sample device</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceView</name>
    <message>
        <source>Ask_upload_tip_upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask_upload_tip_finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting to the device...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The device is not connected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DirListModel</name>
    <message>
        <source>My files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a folder name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder %1 created</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadFileModel</name>
    <message>
        <source>No Download Task</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmptyView</name>
    <message>
        <source>No Data</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Extlink</name>
    <message>
        <source>%1
%2
Code:
%3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExtlinkFileListModel</name>
    <message>
        <source>Report Extlink Successful.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExtlinkListModel</name>
    <message>
        <source>larkvault extlink -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visit Time: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Extlink Can Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>input extlink</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>existed extlink</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>shareId or Code is null</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>add extlink url ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Extlink Successful.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copy:%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copyed url</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copyed code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copyed all</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDownModel</name>
    <message>
        <source>Download failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileListModel</name>
    <message>
        <source>Already added to download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No File</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilePage</name>
    <message>
        <source>Select files first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drop to upload here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the %1 selected items?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileRow</name>
    <message>
        <source>Shared</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileRowsModel</name>
    <message>
        <source>No Impliment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not selected item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Already added to download</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FilesDataTaskHelp</name>
    <message>
        <source>Device is not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown source kind %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder listing failed (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Fn</name>
    <message>
        <source>not selected item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderPicker</name>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GroupListModel</name>
    <message>
        <source>Network Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get File List failed(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Support Now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not selected item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 File have been added for download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation Successfully.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename file failed(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete files failed(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move files failed(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move files to Safe Box failed(%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Collect failed(%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LVDownTask</name>
    <message>
        <source>Create Folder fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create file fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no usable free name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move file fail</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LVDownloadManager</name>
    <message>
        <source>Folder nested too deeply: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder listing failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File download success</source>
        <translation type="unfinished"></translation>
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
    <message>
        <source>Device is not connected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MediaListModel</name>
    <message>
        <source>not selected item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation Successfully.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename file not current selected.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MorePages</name>
    <message>
        <source>Folder listing interrupted</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NormalFileDownManager</name>
    <message>
        <source>Not a picture</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpenDeviceDialog</name>
    <message>
        <source>Open a device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Token</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the device&apos;s host and port</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PagedListModel</name>
    <message>
        <source>Failed to load the list</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewListModel</name>
    <message>
        <source>Is fisrt photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Is last photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original load faile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original load success</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PubFileBaseModel</name>
    <message>
        <source>Copying file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PubGroupModel</name>
    <message>
        <source>No Public Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Member Success</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PubGroupUserModel</name>
    <message>
        <source>No User</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Rec</name>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished">Unknown exception</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShareBaseModel</name>
    <message>
        <source>not selected item.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to success</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShareTargetPicker</name>
    <message>
        <source>Share</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose whom to share with</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share with all users of the device</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SideBar</name>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shares</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>External links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+ Open a device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without a device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link downloads</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SingleFileDownManager</name>
    <message>
        <source>Create Folder fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TSFinishFileModel</name>
    <message>
        <source>No Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TidewellDownload</name>
    <message>
        <source>File does not write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished">Unknown exception</translation>
    </message>
</context>
<context>
    <name>TidewellTab</name>
    <message>
        <source>%1 file Add upload file completed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add upload file faile</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <name>UploadFileModel</name>
    <message>
        <source>No Upload Task</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>&amp;Show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open the device at %1:%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
