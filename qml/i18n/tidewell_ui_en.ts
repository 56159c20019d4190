<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AddLinkDialog</name>
    <message>
        <source>Add link</source>
        <translation>Add link</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Paste the link here</source>
        <translation>Paste the link here</translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation>Extraction code</translation>
    </message>
    <message>
        <source>When the link has one</source>
        <translation>When the link has one</translation>
    </message>
</context>
<context>
    <name>BaseListModel</name>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
</context>
<context>
    <name>BtTaskModel</name>
    <message>
        <source>Network exception</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>Download BT Failed</source>
        <translation>BT download failed</translation>
    </message>
    <message>
        <source>Capacity is not enough</source>
        <translation>Not enough storage space</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>Download failed</translation>
    </message>
    <message>
        <source>Move failed</source>
        <translation>Move failed</translation>
    </message>
    <message>
        <source>Path failed</source>
        <translation>Invalid path</translation>
    </message>
    <message>
        <source>No copyright</source>
        <translation>Copyright restricted</translation>
    </message>
    <message>
        <source>No resources</source>
        <translation>No resources available</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>Download BT</source>
        <translation>Downloading (BT)</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Moving</source>
        <translation>Moving</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
</context>
<context>
    <name>ComposeListModel</name>
    <message>
        <source>Network Error</source>
        <translation>Network Error</translation>
    </message>
</context>
<context>
    <name>CopyFailModel</name>
    <message>
        <source>Copy to person</source>
        <translation>Copy to personal space</translation>
    </message>
    <message>
        <source>Copy to SMB</source>
        <translation>Copy to SMB</translation>
    </message>
    <message>
        <source>Copy to peripheral</source>
        <translation>Copy to external device</translation>
    </message>
    <message>
        <source>Copy to group</source>
        <translation>Copy to group</translation>
    </message>
    <message>
        <source>Capacity is full</source>
        <translation>Insufficient storage space</translation>
    </message>
    <message>
        <source>Source is not exit</source>
        <translation>The source does not exist</translation>
    </message>
    <message>
        <source>Group is not exit</source>
        <translation>The group does not exist</translation>
    </message>
    <message>
        <source>Without permission</source>
        <translation>No permission to copy</translation>
    </message>
    <message>
        <source>Unauthorized operation</source>
        <translation>Unauthorized operation</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>Space by remove</source>
        <translation>The storage space has been removed</translation>
    </message>
    <message>
        <source>Peripheral by remove</source>
        <translation>The external device has been removed</translation>
    </message>
    <message>
        <source>Folder by remove</source>
        <translation>The folder has been removed</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>CopyFileFailListAlert</name>
    <message>
        <source>Total %1 fail copy</source>
        <translation>%1 files failed to copy</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Batch Try</source>
        <translation>Retry Selected</translation>
    </message>
    <message>
        <source>Batch Delete</source>
        <translation>Delete Selected</translation>
    </message>
    <message>
        <source>Try</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>CreateLinkDialog</name>
    <message>
        <source>Create link</source>
        <translation>Create link</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation>Extraction code</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>Optional</translation>
    </message>
</context>
<context>
    <name>DeviceLauncher</name>
    <message>
        <source>Sample device</source>
        <translation>Sample device</translation>
    </message>
    <message>
        <source>Enter the device&apos;s host and a port from 1 to 65535.</source>
        <translation>Enter the device&apos;s host and a port from 1 to 65535.</translation>
    </message>
    <message>
        <source>The device at %1 did not answer within %2 s.</source>
        <translation>The device at %1 did not answer within %2 s.</translation>
    </message>
    <message>
        <source>The device at %1 refused the token.</source>
        <translation>The device at %1 refused the token.</translation>
    </message>
    <message>
        <source>The connection to %1 was refused: nothing answers on that port.</source>
        <translation>The connection to %1 was refused: nothing answers on that port.</translation>
    </message>
    <message>
        <source>The host %1 was not found.</source>
        <translation>The host %1 was not found.</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2</source>
        <translation>Cannot reach %1: %2</translation>
    </message>
    <message>
        <source>%1 does not answer as a device (HTTP %2).</source>
        <translation>%1 does not answer as a device (HTTP %2).</translation>
    </message>
    <message>
        <source>The device at %1 answered: %2</source>
        <translation>The device at %1 answered: %2</translation>
    </message>
</context>
<context>
    <name>DeviceView</name>
    <message>
        <source>Ask_upload_tip_upload</source>
        <translation>These files are being uploaded now. Upload them again?</translation>
    </message>
    <message>
        <source>Ask_upload_tip_finish</source>
        <translation>These files have been uploaded before. Upload them again?</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>Connecting to the device...</source>
        <translation>Connecting to the device...</translation>
    </message>
    <message>
        <source>The device is not connected</source>
        <translation>The device is not connected</translation>
    </message>
    <message>
        <source>The device is not connected: %1</source>
        <translation>The device is not connected: %1</translation>
    </message>
</context>
<context>
    <name>DirListModel</name>
    <message>
        <source>My files</source>
        <translation>My files</translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation>Network Error</translation>
    </message>
    <message>
        <source>Enter a folder name</source>
        <translation>Enter a folder name</translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation>Device is not connected</translation>
    </message>
    <message>
        <source>Folder %1 created</source>
        <translation>Folder %1 created</translation>
    </message>
</context>
<context>
    <name>DownloadFileModel</name>
    <message>
        <source>No Download Task</source>
        <translation>No download tasks</translation>
    </message>
</context>
<context>
    <name>EmptyView</name>
    <message>
        <source>No Data</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>Extlink</name>
    <message>
        <source>%1
%2
Code:
%3</source>
        <translation>%1
%2
Code:
%3</translation>
    </message>
</context>
<context>
    <name>ExtlinkFileListModel</name>
    <message>
        <source>Report Extlink Successful.</source>
        <translation>Link reported.</translation>
    </message>
</context>
<context>
    <name>ExtlinkListModel</name>
    <message>
        <source>larkvault extlink -</source>
        <translation>larkvault link -</translation>
    </message>
    <message>
        <source>Visit Time: %1</source>
        <translation>Visits: %1</translation>
    </message>
    <message>
        <source>No Extlink Can Add</source>
        <translation>No links yet</translation>
    </message>
    <message>
        <source>input extlink</source>
        <translation>Enter a link</translation>
    </message>
    <message>
        <source>existed extlink</source>
        <translation>This link is already in the list</translation>
    </message>
    <message>
        <source>shareId or Code is null</source>
        <translation>The link has no share ID or extraction code</translation>
    </message>
    <message>
        <source>add extlink url ok</source>
        <translation>Link added</translation>
    </message>
    <message>
        <source>Delete Extlink Successful.</source>
        <translation>Link deleted.</translation>
    </message>
    <message>
        <source>copy:%1</source>
        <translation>Copied: %1</translation>
    </message>
    <message>
        <source>copyed url</source>
        <translation>Link copied</translation>
    </message>
    <message>
        <source>copyed code</source>
        <translation>Extraction code copied</translation>
    </message>
    <message>
        <source>copyed all</source>
        <translation>Link and extraction code copied</translation>
    </message>
    <message>
        <source>No browser could be opened for the share page.</source>
        <translation>No browser could be opened for the share page.</translation>
    </message>
</context>
<context>
    <name>ExtlinkPage</name>
    <message>
        <source>No Extlink Can Add</source>
        <translation>No links yet</translation>
    </message>
    <message>
        <source>My links</source>
        <translation>My links</translation>
    </message>
    <message>
        <source>Received links</source>
        <translation>Received links</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Add link</source>
        <translation>Add link</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>Visits</source>
        <translation>Visits</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>File visits: %1</source>
        <translation>File visits: %1</translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation>Extraction code</translation>
    </message>
    <message>
        <source>This link needs its extraction code.</source>
        <translation>This link needs its extraction code.</translation>
    </message>
    <message>
        <source>Delete this link? Nobody can open it afterwards.</source>
        <translation>Delete this link? Nobody can open it afterwards.</translation>
    </message>
    <message>
        <source>Remove this link from the list?</source>
        <translation>Remove this link from the list?</translation>
    </message>
    <message numerus="yes">
        <source>%n links</source>
        <translation><numerusform>%n link</numerusform><numerusform>%n links</numerusform></translation>
    </message>
</context>
<context>
    <name>FailListAlert</name>
    <message>
        <source>No Data</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>FileCopyView</name>
    <message>
        <source>Failed to copy files</source>
        <translation>Failed to copy files</translation>
    </message>
    <message>
        <source>copying file, remain %1</source>
        <translation>Copying files, %1 remaining</translation>
    </message>
    <message>
        <source>Cancel Copy</source>
        <translation>Cancel Copy</translation>
    </message>
    <message>
        <source>Cancel_copy_msg_tip</source>
        <translation>Stop copying? The files not copied yet will not be copied.</translation>
    </message>
</context>
<context>
    <name>FileDownModel</name>
    <message>
        <source>Download failed</source>
        <translation>Download failed</translation>
    </message>
    <message>
        <source>Only documents are opened here</source>
        <translation>Only documents are opened here</translation>
    </message>
</context>
<context>
    <name>FileLevels</name>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1 selected</translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation><numerusform>%n item</numerusform><numerusform>%n items</numerusform></translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>FileListModel</name>
    <message>
        <source>Already added to download</source>
        <translation>Added to download</translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation>Failed to add file to download</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>Already in the download list</source>
        <translation>Already in the download list</translation>
    </message>
</context>
<context>
    <name>FilePage</name>
    <message>
        <source>Select files first</source>
        <translation>Select files first</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Upload files</source>
        <translation>Upload files</translation>
    </message>
    <message>
        <source>Upload folder</source>
        <translation>Upload folder</translation>
    </message>
    <message>
        <source>New folder</source>
        <translation>New folder</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>Move to</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>Create link</source>
        <translation>Create link</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1 selected</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Drop to upload here</source>
        <translation>Drop to upload here</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Folder name</source>
        <translation>Folder name</translation>
    </message>
    <message>
        <source>Link created</source>
        <translation>Link created</translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation>Extraction code: %1</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copied</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;?</source>
        <translation>Delete &quot;%1&quot;?</translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>Delete the %n selected item?</numerusform><numerusform>Delete the %n selected items?</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation><numerusform>%n item</numerusform><numerusform>%n items</numerusform></translation>
    </message>
</context>
<context>
    <name>FileRow</name>
    <message>
        <source>Shared</source>
        <translation>Shared</translation>
    </message>
</context>
<context>
    <name>FileRowsModel</name>
    <message>
        <source>No Impliment.</source>
        <translation>Not implemented yet.</translation>
    </message>
    <message>
        <source>not selected item.</source>
        <translation>No item selected.</translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation>Failed to add file to download</translation>
    </message>
    <message>
        <source>Already added to download</source>
        <translation>Added to download</translation>
    </message>
</context>
<context>
    <name>FilesDataTaskHelp</name>
    <message>
        <source>Device is not connected</source>
        <translation>Device is not connected</translation>
    </message>
    <message>
        <source>Unknown source kind %1</source>
        <translation>Unknown source kind %1</translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation>Network Error</translation>
    </message>
    <message>
        <source>Data Error</source>
        <translation>Data Error</translation>
    </message>
    <message>
        <source>Folder listing failed (%1)</source>
        <translation>Folder listing failed (%1)</translation>
    </message>
</context>
<context>
    <name>FinishedView</name>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Are you sure clear all records ?</source>
        <translation>Are you sure you want to clear all records?</translation>
    </message>
    <message>
        <source>Are you sure delete the records ? The files stay on disk.</source>
        <translation>Are you sure you want to delete the records? The files stay on disk.</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1 selected</translation>
    </message>
    <message>
        <source>Total %1</source>
        <translation>Total %1</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Clear All</translation>
    </message>
    <message>
        <source>Uploaded</source>
        <translation>Uploaded</translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation>Downloaded</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>Fn</name>
    <message>
        <source>not selected item.</source>
        <translation>No item selected.</translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation>Network Error</translation>
    </message>
</context>
<context>
    <name>FolderPicker</name>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>My files</source>
        <translation>My files</translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation>Public groups</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
</context>
<context>
    <name>GroupListModel</name>
    <message>
        <source>Network Error</source>
        <translation>Network Error</translation>
    </message>
    <message>
        <source>Get File List failed(%1)</source>
        <translation>Failed to get the file list (%1)</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>No Support Now.</source>
        <translation>Not supported yet.</translation>
    </message>
    <message>
        <source>not selected item.</source>
        <translation>No item selected.</translation>
    </message>
    <message>
        <source>%1 File have been added for download</source>
        <translation>%1 files have been added for download</translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation>Failed to add file to download</translation>
    </message>
    <message>
        <source>Operation Successfully.</source>
        <translation>Operation successful.</translation>
    </message>
    <message>
        <source>Rename file failed(%1)</source>
        <translation>Failed to rename the file (%1)</translation>
    </message>
    <message>
        <source>Delete files failed(%1)</source>
        <translation>Failed to delete the files (%1)</translation>
    </message>
    <message>
        <source>Move files failed(%1)</source>
        <translation>Failed to move the files (%1)</translation>
    </message>
    <message>
        <source>Move files to Safe Box failed(%1)</source>
        <translation>Failed to move the files to the safe box (%1)</translation>
    </message>
    <message>
        <source>File Collect failed(%1)</source>
        <translation>Failed to add to favourites (%1)</translation>
    </message>
</context>
<context>
    <name>GroupView</name>
    <message>
        <source>Has Manager</source>
        <translation>Manager</translation>
    </message>
    <message>
        <source>Has Editer</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Has Browse</source>
        <translation>Browse only</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>Add members</source>
        <translation>Add members</translation>
    </message>
    <message>
        <source>New folder</source>
        <translation>New folder</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>Move to</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Folder name</source>
        <translation>Folder name</translation>
    </message>
    <message>
        <source>Choose a folder of this group</source>
        <translation>Choose a folder of this group</translation>
    </message>
    <message numerus="yes">
        <source>%n members</source>
        <translation><numerusform>%n member</numerusform><numerusform>%n members</numerusform></translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;?</source>
        <translation>Delete &quot;%1&quot;?</translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>Delete the %n selected item?</numerusform><numerusform>Delete the %n selected items?</numerusform></translation>
    </message>
    <message>
        <source>Search &quot;%1&quot;</source>
        <translation>Search &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Upload files</source>
        <translation>Upload files</translation>
    </message>
    <message>
        <source>Upload folder</source>
        <translation>Upload folder</translation>
    </message>
    <message>
        <source>Search in the group</source>
        <translation>Search in the group</translation>
    </message>
    <message>
        <source>Sort by</source>
        <translation>Sort by</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Drop to upload here</source>
        <translation>Drop to upload here</translation>
    </message>
</context>
<context>
    <name>LVDownTask</name>
    <message>
        <source>Create Folder fail</source>
        <translation>Failed to create folder</translation>
    </message>
    <message>
        <source>Create file fail</source>
        <translation>Failed to create file</translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation>Device is not connected</translation>
    </message>
    <message>
        <source>no usable free name</source>
        <translation>No free file name is available</translation>
    </message>
    <message>
        <source>Move file fail</source>
        <translation>Failed to move file</translation>
    </message>
    <message>
        <source>The device stopped sending the file</source>
        <translation>The device stopped sending the file</translation>
    </message>
</context>
<context>
    <name>LVDownloadManager</name>
    <message>
        <source>Folder nested too deeply: %1</source>
        <translation>Folder nested too deeply: %1</translation>
    </message>
    <message>
        <source>Folder listing failed: %1</source>
        <translation>Folder listing failed: %1</translation>
    </message>
    <message>
        <source>File download success</source>
        <translation>The file has been downloaded successfully</translation>
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
        <translation>Upload complete</translation>
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
        <translation>Device is not connected</translation>
    </message>
</context>
<context>
    <name>LinkCard</name>
    <message>
        <source>Share link</source>
        <translation>Share link</translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation>Extraction code: %1</translation>
    </message>
    <message>
        <source>Copy link</source>
        <translation>Copy link</translation>
    </message>
    <message>
        <source>Copy code</source>
        <translation>Copy code</translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation>Copy all</translation>
    </message>
    <message>
        <source>Share to microblog</source>
        <translation>Share to microblog</translation>
    </message>
    <message>
        <source>Share to messenger</source>
        <translation>Share to messenger</translation>
    </message>
</context>
<context>
    <name>LinkFilesView</name>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Shared by %1</source>
        <translation>Shared by %1</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>Choose a folder on this computer</source>
        <translation>Choose a folder on this computer</translation>
    </message>
    <message>
        <source>Sort by</source>
        <translation>Sort by</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Drop to upload here</source>
        <translation>Drop to upload here</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Save to</translation>
    </message>
</context>
<context>
    <name>MediaCategory</name>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>List</source>
        <translation>List</translation>
    </message>
    <message>
        <source>By day</source>
        <translation>By day</translation>
    </message>
    <message>
        <source>Oldest first</source>
        <translation>Oldest first</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>Favourite</translation>
    </message>
    <message>
        <source>Remove from favourites</source>
        <translation>Remove from favourites</translation>
    </message>
    <message>
        <source>Cancel favourite</source>
        <translation>Cancel favourite</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>Create link</source>
        <translation>Create link</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Copy to USB disk</source>
        <translation>Copy to USB disk</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1 selected</translation>
    </message>
    <message>
        <source>Folder on the USB disk</source>
        <translation>Folder on the USB disk</translation>
    </message>
    <message>
        <source>Link created</source>
        <translation>Link created</translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation>Extraction code: %1</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copied</translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation><numerusform>%n item</numerusform><numerusform>%n items</numerusform></translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;?</source>
        <translation>Delete &quot;%1&quot;?</translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>Delete the %n selected item?</numerusform><numerusform>Delete the %n selected items?</numerusform></translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>MediaListModel</name>
    <message>
        <source>not selected item.</source>
        <translation>No item selected.</translation>
    </message>
    <message>
        <source>Operation Successfully.</source>
        <translation>Operation successful.</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
    <message>
        <source>Rename file not current selected.</source>
        <translation>Select the file to rename first.</translation>
    </message>
</context>
<context>
    <name>MediaPage</name>
    <message>
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>Favourites</source>
        <translation>Favourites</translation>
    </message>
</context>
<context>
    <name>MediaThumb</name>
    <message>
        <source>Shared</source>
        <translation>Shared</translation>
    </message>
</context>
<context>
    <name>MemberDialog</name>
    <message>
        <source>Manager</source>
        <translation>Manage members</translation>
    </message>
    <message>
        <source>Member Info</source>
        <translation>Member Info</translation>
    </message>
    <message>
        <source>Has Manager</source>
        <translation>Manager</translation>
    </message>
    <message>
        <source>Has Editer</source>
        <translation>Editor</translation>
    </message>
    <message>
        <source>Has Browse</source>
        <translation>Browse only</translation>
    </message>
    <message>
        <source>Change ower success</source>
        <translation>The group has been handed over</translation>
    </message>
    <message>
        <source>No User</source>
        <translation>No users</translation>
    </message>
    <message>
        <source>Add members</source>
        <translation>Add members</translation>
    </message>
    <message>
        <source>Make editor</source>
        <translation>Make editor</translation>
    </message>
    <message>
        <source>Make browse only</source>
        <translation>Make browse only</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Make owner</source>
        <translation>Make owner</translation>
    </message>
    <message>
        <source>Remove %1 from the group?</source>
        <translation>Remove %1 from the group?</translation>
    </message>
    <message>
        <source>Hand the group over to %1?</source>
        <translation>Hand the group over to %1?</translation>
    </message>
</context>
<context>
    <name>MemberPicker</name>
    <message>
        <source>Add members</source>
        <translation>Add members</translation>
    </message>
    <message>
        <source>No User</source>
        <translation>No users</translation>
    </message>
    <message>
        <source>All</source>
        <translation>All</translation>
    </message>
</context>
<context>
    <name>MorePages</name>
    <message>
        <source>Folder listing interrupted</source>
        <translation>Folder listing interrupted</translation>
    </message>
</context>
<context>
    <name>NormalFileDownManager</name>
    <message>
        <source>Not a picture</source>
        <translation>Not a picture</translation>
    </message>
</context>
<context>
    <name>OpenDeviceDialog</name>
    <message>
        <source>Open a device</source>
        <translation>Open a device</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Token</source>
        <translation>Token</translation>
    </message>
    <message>
        <source>Enter the device&apos;s host and port</source>
        <translation>Enter the device&apos;s host and port</translation>
    </message>
    <message>
        <source>Open the sample device</source>
        <translation>Open the sample device</translation>
    </message>
    <message>
        <source>The sample device cannot be started.</source>
        <translation>The sample device cannot be started.</translation>
    </message>
</context>
<context>
    <name>PagedListModel</name>
    <message>
        <source>Failed to load the list</source>
        <translation>Failed to load the list</translation>
    </message>
</context>
<context>
    <name>PhotoPreview</name>
    <message>
        <source>Added to the download list</source>
        <translation>Added to the download list</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>PlayerPage</name>
    <message>
        <source>Add files</source>
        <translation>Add files</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Unmute</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Media files (*.mp4 *.mkv *.avi *.mov *.mp3 *.wav *.flac *.m4a *.ogg)</source>
        <translation>Media files (*.mp4 *.mkv *.avi *.mov *.mp3 *.wav *.flac *.m4a *.ogg)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>PreviewDownload</name>
    <message>
        <source>It&apos;s being opened</source>
        <translation>It&apos;s being opened</translation>
    </message>
    <message>
        <source>The file download will open automatically</source>
        <translation>The file will open automatically once downloaded</translation>
    </message>
</context>
<context>
    <name>PreviewListModel</name>
    <message>
        <source>Is fisrt photo</source>
        <translation>This is the first photo</translation>
    </message>
    <message>
        <source>Is last photo</source>
        <translation>This is the last photo</translation>
    </message>
    <message>
        <source>Original load faile</source>
        <translation>Failed to load the original</translation>
    </message>
    <message>
        <source>Original load success</source>
        <translation>The original has been loaded</translation>
    </message>
</context>
<context>
    <name>PubFileBaseModel</name>
    <message>
        <source>Copying file</source>
        <translation>Copying file</translation>
    </message>
</context>
<context>
    <name>PubGroupModel</name>
    <message>
        <source>No Public Group</source>
        <translation>No public groups</translation>
    </message>
    <message>
        <source>Add Member Success</source>
        <translation>Members added</translation>
    </message>
</context>
<context>
    <name>PubGroupPage</name>
    <message>
        <source>No Public Group</source>
        <translation>No public groups</translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation>Public groups</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>New group</source>
        <translation>New group</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Add members</source>
        <translation>Add members</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Leave</source>
        <translation>Leave</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Group name</source>
        <translation>Group name</translation>
    </message>
    <message>
        <source>Delete the group &quot;%1&quot; and its files?</source>
        <translation>Delete the group &quot;%1&quot; and its files?</translation>
    </message>
    <message>
        <source>Leave the group &quot;%1&quot;?</source>
        <translation>Leave the group &quot;%1&quot;?</translation>
    </message>
    <message numerus="yes">
        <source>%n groups</source>
        <translation><numerusform>%n group</numerusform><numerusform>%n groups</numerusform></translation>
    </message>
</context>
<context>
    <name>PubGroupUserModel</name>
    <message>
        <source>No User</source>
        <translation>No users</translation>
    </message>
</context>
<context>
    <name>QueueView</name>
    <message>
        <source>File Parsing</source>
        <translation>Parsing file</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>Download failed</translation>
    </message>
    <message>
        <source>Upload failed</source>
        <translation>Upload failed</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Are you sure delete all transfer task ?</source>
        <translation>Are you sure you want to delete all transfer tasks?</translation>
    </message>
    <message>
        <source>Are you sure delete transfer task ?</source>
        <translation>Are you sure you want to delete this transfer task?</translation>
    </message>
    <message>
        <source>Are you sure delete select transfer task ?</source>
        <translation>Are you sure you want to delete the selected transfer tasks?</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>%1 selected</translation>
    </message>
    <message>
        <source>Total %1</source>
        <translation>Total %1</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>All Start</source>
        <translation>Start All</translation>
    </message>
    <message>
        <source>All Pause</source>
        <translation>Pause All</translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation>Delete All</translation>
    </message>
    <message>
        <source>File Detail</source>
        <translation>File details</translation>
    </message>
    <message>
        <source>No Download Task</source>
        <translation>No download tasks</translation>
    </message>
    <message>
        <source>No Upload Task</source>
        <translation>No upload tasks</translation>
    </message>
</context>
<context>
    <name>Rec</name>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>ReportDialog</name>
    <message>
        <source>Report link</source>
        <translation>Report link</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>Illegal content</source>
        <translation>Illegal content</translation>
    </message>
    <message>
        <source>Fraud</source>
        <translation>Fraud</translation>
    </message>
    <message>
        <source>Infringement</source>
        <translation>Infringement</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Phone</translation>
    </message>
</context>
<context>
    <name>ShareBaseModel</name>
    <message>
        <source>not selected item.</source>
        <translation>No item selected.</translation>
    </message>
    <message>
        <source>Copy to success</source>
        <translation>Copied successfully</translation>
    </message>
</context>
<context>
    <name>SharePage</name>
    <message>
        <source>My shares</source>
        <translation>My shares</translation>
    </message>
    <message>
        <source>Search: %1</source>
        <translation>Search: %1</translation>
    </message>
    <message>
        <source>Shared with me</source>
        <translation>Shared with me</translation>
    </message>
    <message>
        <source>Shared by</source>
        <translation>Shared by</translation>
    </message>
    <message>
        <source>Search shared files</source>
        <translation>Search shared files</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>Copy to</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Cancel share</source>
        <translation>Stop sharing</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Oldest first</source>
        <translation>Oldest first</translation>
    </message>
    <message>
        <source>Newest first</source>
        <translation>Newest first</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message numerus="yes">
        <source>Stop sharing the %n selected items?</source>
        <translation><numerusform>Stop sharing the %n selected item?</numerusform><numerusform>Stop sharing the %n selected items?</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>Delete the %n selected item?</numerusform><numerusform>Delete the %n selected items?</numerusform></translation>
    </message>
</context>
<context>
    <name>ShareTargetPicker</name>
    <message>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>Choose whom to share with</source>
        <translation>Choose whom to share with</translation>
    </message>
    <message>
        <source>No User</source>
        <translation>No users</translation>
    </message>
    <message>
        <source>Chosen groups and users</source>
        <translation>Chosen groups and users</translation>
    </message>
    <message>
        <source>All users of the device</source>
        <translation>All users of the device</translation>
    </message>
    <message numerus="yes">
        <source>%n members</source>
        <translation><numerusform>%n member</numerusform><numerusform>%n members</numerusform></translation>
    </message>
</context>
<context>
    <name>SideBar</name>
    <message>
        <source>Files</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>Transfers</source>
        <translation>Transfers</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>Media</translation>
    </message>
    <message>
        <source>Shares</source>
        <translation>Shares</translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation>Public groups</translation>
    </message>
    <message>
        <source>External links</source>
        <translation>External links</translation>
    </message>
    <message>
        <source>+ Open a device</source>
        <translation>+ Open a device</translation>
    </message>
    <message>
        <source>Without a device</source>
        <translation>Without a device</translation>
    </message>
    <message>
        <source>Link downloads</source>
        <translation>Link downloads</translation>
    </message>
</context>
<context>
    <name>SingleFileDownManager</name>
    <message>
        <source>Create Folder fail</source>
        <translation>Failed to create folder</translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation>Device is not connected</translation>
    </message>
</context>
<context>
    <name>SmartDownPage</name>
    <message>
        <source>Waiting</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>Download BT</source>
        <translation>Downloading (BT)</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Moving</source>
        <translation>Moving</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>Network exception</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>Download BT Failed</source>
        <translation>BT download failed</translation>
    </message>
    <message>
        <source>Capacity is not enough</source>
        <translation>Not enough storage space</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>Download failed</translation>
    </message>
    <message>
        <source>Move failed</source>
        <translation>Move failed</translation>
    </message>
    <message>
        <source>Path failed</source>
        <translation>Invalid path</translation>
    </message>
    <message>
        <source>No copyright</source>
        <translation>Copyright restricted</translation>
    </message>
    <message>
        <source>No resources</source>
        <translation>No resources available</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>Are you sure delete all download task ?</source>
        <translation>Are you sure you want to delete all download tasks?</translation>
    </message>
    <message>
        <source>Are you sure delete select download task ?</source>
        <translation>Are you sure you want to delete the selected download tasks?</translation>
    </message>
    <message>
        <source>Are you sure delete download task ?</source>
        <translation>Are you sure you want to delete this download task?</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Delete download file</source>
        <translation>Also delete the downloaded files</translation>
    </message>
    <message>
        <source>New Task</source>
        <translation>New Task</translation>
    </message>
    <message>
        <source>Input or pause download link tip</source>
        <translation>Enter or paste a download link</translation>
    </message>
    <message>
        <source>Storage To:</source>
        <translation>Save to:</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Downloading</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>Add Torrent</source>
        <translation>Add Torrent</translation>
    </message>
    <message>
        <source>All Start</source>
        <translation>Start All</translation>
    </message>
    <message>
        <source>All Pause</source>
        <translation>Pause All</translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation>Delete All</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>No files</translation>
    </message>
</context>
<context>
    <name>TSFinishFileModel</name>
    <message>
        <source>No Data</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>Delete failed</source>
        <translation>Delete failed</translation>
    </message>
</context>
<context>
    <name>TidewellDownload</name>
    <message>
        <source>File does not write</source>
        <translation>The file was not found on the device</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>TidewellNet</name>
    <message>
        <source>The device&apos;s answer could not be read</source>
        <translation>The device&apos;s answer could not be read</translation>
    </message>
    <message>
        <source>The connection was closed</source>
        <translation>The connection was closed</translation>
    </message>
</context>
<context>
    <name>TidewellTab</name>
    <message numerus="yes">
        <source>%n file Add upload file completed</source>
        <translation><numerusform>%n file added to the upload list</numerusform><numerusform>%n files added to the upload list</numerusform></translation>
    </message>
    <message>
        <source>Add upload file faile</source>
        <translation>Failed to add the files to the upload list</translation>
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
    <name>TorrentPicker</name>
    <message>
        <source>Choose a torrent file</source>
        <translation>Choose a torrent file</translation>
    </message>
</context>
<context>
    <name>TransferPage</name>
    <message>
        <source>Transfer&gt; Uploading</source>
        <translation>Transfer &gt; Uploading</translation>
    </message>
    <message>
        <source>Transfer&gt; Download</source>
        <translation>Transfer &gt; Download</translation>
    </message>
    <message>
        <source>Transfer&gt; Finished</source>
        <translation>Transfer &gt; Finished</translation>
    </message>
    <message>
        <source>Transfer&gt; Device Tasks</source>
        <translation>Transfer &gt; Device Tasks</translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation>Uploading</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>Device Tasks</source>
        <translation>Device Tasks</translation>
    </message>
</context>
<context>
    <name>TwMediaPlayer</name>
    <message>
        <source>The device cannot be reached. Playing goes on when it answers again.</source>
        <translation>The device cannot be reached. Playing goes on when it answers again.</translation>
    </message>
    <message>
        <source>No audio output: the sound cannot be played.</source>
        <translation>No audio output: the sound cannot be played.</translation>
    </message>
    <message>
        <source>The file&apos;s format cannot be played.</source>
        <translation>The file&apos;s format cannot be played.</translation>
    </message>
    <message>
        <source>The file cannot be played: %1</source>
        <translation>The file cannot be played: %1</translation>
    </message>
    <message>
        <source>The file is no longer on the device.</source>
        <translation>The file is no longer on the device.</translation>
    </message>
    <message>
        <source>The cache disk is full (%1). Playing goes on from the device.</source>
        <translation>The cache disk is full (%1). Playing goes on from the device.</translation>
    </message>
</context>
<context>
    <name>UploadFileModel</name>
    <message>
        <source>No Upload Task</source>
        <translation>No upload tasks</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>&amp;Show</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
</context>
</TS>
