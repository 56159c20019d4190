<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AddLinkDialog</name>
    <message>
        <source>Add link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste the link here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the link has one</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unauthorized operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space by remove</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Data</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CopyFileFailListAlert</name>
    <message>
        <source>Total %1 fail copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Batch Try</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Batch Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
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
    <name>ExtlinkPage</name>
    <message>
        <source>No Extlink Can Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
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
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File visits: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This link needs its extraction code.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete this link? Nobody can open it afterwards.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove this link from the list?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FailListAlert</name>
    <message>
        <source>No Data</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCopyView</name>
    <message>
        <source>Failed to copy files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>copying file, remain %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel_copy_msg_tip</source>
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
    <name>FileLevels</name>
    <message>
        <source>No File</source>
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
    <name>FinishedView</name>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure clear all records ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure delete the records ? The files stay on disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Data</source>
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
    <name>GroupView</name>
    <message>
        <source>Has Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Has Editer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Has Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 members</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Members</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add members</source>
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
        <source>Folder name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the %1 selected items?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a folder of this group</source>
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
    <message>
        <source>The device stopped sending the file</source>
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
        <source>File upload success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>create Folder fail</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LVUploadTask</name>
    <message>
        <source>File does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>create Folder fail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinkCard</name>
    <message>
        <source>Share link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy code</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share to microblog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share to messenger</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinkFilesView</name>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared by %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MediaCategory</name>
    <message>
        <source>No File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oldest first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from favourites</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel favourite</source>
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
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy to USB disk</source>
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
        <source>Folder on the USB disk</source>
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
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
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
    <name>MediaPage</name>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Favourites</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemberDialog</name>
    <message>
        <source>Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Member Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Has Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Has Editer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Has Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change ower success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add members</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make browse only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make owner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove %1 from the group?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hand the group over to %1?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MemberPicker</name>
    <message>
        <source>Add members</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
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
    <name>PhotoPreview</name>
    <message>
        <source>Added to the download list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlayerPage</name>
    <message>
        <source>Add files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media files (*.mp4 *.mkv *.avi *.mov *.mp3 *.wav *.flac *.m4a *.ogg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewDownload</name>
    <message>
        <source>It&apos;s being opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file download will open automatically</source>
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
    <name>PubGroupPage</name>
    <message>
        <source>No Public Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add members</source>
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
        <source>Leave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Owner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the group &quot;%1&quot; and its files?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leave the group &quot;%1&quot;?</source>
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
    <name>QueueView</name>
    <message>
        <source>File Parsing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure delete all transfer task ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure delete transfer task ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure delete select transfer task ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Detail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Download Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Upload Task</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Rec</name>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Data</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportDialog</name>
    <message>
        <source>Report link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Illegal content</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fraud</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Infringement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Phone</source>
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
    <name>SharePage</name>
    <message>
        <source>My shares</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared with me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared by</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search shared files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
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
        <source>Cancel share</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oldest first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Newest first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop sharing the %1 selected items?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the %1 selected items?</source>
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
        <source>No User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chosen groups and users</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All users of the device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 members</source>
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
    <name>SmartDownPage</name>
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
        <source>Finish</source>
        <translation type="unfinished"></translation>
    </message>
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
        <source>Are you sure delete all download task ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure delete select download task ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure delete download task ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete download file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input or pause download link tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage To:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Torrent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No File</source>
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
        <translation type="unfinished"></translation>
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
        <source>Unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capacity is full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without permission</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unauthorized operation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space by remove</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TorrentPicker</name>
    <message>
        <source>Choose a torrent file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TransferPage</name>
    <message>
        <source>Transfer&gt; Uploading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer&gt; Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer&gt; Finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transfer&gt; Device Tasks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Tasks</source>
        <translation type="unfinished"></translation>
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
