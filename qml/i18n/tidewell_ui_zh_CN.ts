<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AddLinkDialog</name>
    <message>
        <source>Add link</source>
        <translation>添加链接</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>链接</translation>
    </message>
    <message>
        <source>Paste the link here</source>
        <translation>在此粘贴链接</translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation>提取码</translation>
    </message>
    <message>
        <source>When the link has one</source>
        <translation>链接有提取码时填写</translation>
    </message>
</context>
<context>
    <name>BaseListModel</name>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
</context>
<context>
    <name>BtTaskModel</name>
    <message>
        <source>Network exception</source>
        <translation>网络异常</translation>
    </message>
    <message>
        <source>Download BT Failed</source>
        <translation>BT 下载失败</translation>
    </message>
    <message>
        <source>Capacity is not enough</source>
        <translation>存储空间不足</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>下载失败</translation>
    </message>
    <message>
        <source>Move failed</source>
        <translation>移动失败</translation>
    </message>
    <message>
        <source>Path failed</source>
        <translation>路径错误</translation>
    </message>
    <message>
        <source>No copyright</source>
        <translation>版权受限</translation>
    </message>
    <message>
        <source>No resources</source>
        <translation>无可用资源</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>等待中</translation>
    </message>
    <message>
        <source>Download BT</source>
        <translation>BT 下载中</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>Moving</source>
        <translation>移动中</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
</context>
<context>
    <name>ComposeListModel</name>
    <message>
        <source>Network Error</source>
        <translation>网络错误</translation>
    </message>
</context>
<context>
    <name>CopyFailModel</name>
    <message>
        <source>Copy to person</source>
        <translation>复制到个人空间</translation>
    </message>
    <message>
        <source>Copy to SMB</source>
        <translation>复制到 SMB</translation>
    </message>
    <message>
        <source>Copy to peripheral</source>
        <translation>复制到外接设备</translation>
    </message>
    <message>
        <source>Copy to group</source>
        <translation>复制到群组</translation>
    </message>
    <message>
        <source>Capacity is full</source>
        <translation>存储空间不足</translation>
    </message>
    <message>
        <source>Source is not exit</source>
        <translation>源文件不存在</translation>
    </message>
    <message>
        <source>Group is not exit</source>
        <translation>群组不存在</translation>
    </message>
    <message>
        <source>Without permission</source>
        <translation>没有复制权限</translation>
    </message>
    <message>
        <source>Unauthorized operation</source>
        <translation>未授权的操作</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>Space by remove</source>
        <translation>存储空间已被移除</translation>
    </message>
    <message>
        <source>Peripheral by remove</source>
        <translation>外接设备已被移除</translation>
    </message>
    <message>
        <source>Folder by remove</source>
        <translation>文件夹已被移除</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>暂无数据</translation>
    </message>
</context>
<context>
    <name>CopyFileFailListAlert</name>
    <message>
        <source>Total %1 fail copy</source>
        <translation>共 %1 个文件复制失败</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>Batch Try</source>
        <translation>批量重试</translation>
    </message>
    <message>
        <source>Batch Delete</source>
        <translation>批量删除</translation>
    </message>
    <message>
        <source>Try</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>暂无数据</translation>
    </message>
</context>
<context>
    <name>CreatedLinkDialog</name>
    <message>
        <source>Link created</source>
        <translation>链接已创建</translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation>提取码：%1</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>已复制</translation>
    </message>
</context>
<context>
    <name>CreateLinkDialog</name>
    <message>
        <source>Create link</source>
        <translation>创建链接</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation>提取码</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>可选</translation>
    </message>
</context>
<context>
    <name>DeviceLauncher</name>
    <message>
        <source>Sample device</source>
        <translation>示例设备</translation>
    </message>
    <message>
        <source>Enter the device&apos;s host and a port from 1 to 65535.</source>
        <translation>请输入设备的主机和 1 到 65535 之间的端口。</translation>
    </message>
    <message>
        <source>The device at %1 did not answer within %2 s.</source>
        <translation>%1 上的设备在 %2 秒内没有应答。</translation>
    </message>
    <message>
        <source>The device at %1 refused the token.</source>
        <translation>%1 上的设备拒绝了该令牌。</translation>
    </message>
    <message>
        <source>The connection to %1 was refused: nothing answers on that port.</source>
        <translation>连接 %1 被拒绝：该端口上没有服务应答。</translation>
    </message>
    <message>
        <source>The host %1 was not found.</source>
        <translation>找不到主机 %1。</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2</source>
        <translation>无法连接 %1：%2</translation>
    </message>
    <message>
        <source>%1 does not answer as a device (HTTP %2).</source>
        <translation>%1 的应答不是设备的应答（HTTP %2）。</translation>
    </message>
    <message>
        <source>The device at %1 answered: %2</source>
        <translation>%1 上的设备回复：%2</translation>
    </message>
</context>
<context>
    <name>DeviceView</name>
    <message>
        <source>Ask_upload_tip_upload</source>
        <translation>这些文件正在上传中，是否再次上传？</translation>
    </message>
    <message>
        <source>Ask_upload_tip_finish</source>
        <translation>这些文件之前已上传过，是否再次上传？</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>上传</translation>
    </message>
    <message>
        <source>Connecting to the device...</source>
        <translation>正在连接设备…</translation>
    </message>
    <message>
        <source>The device is not connected</source>
        <translation>设备未连接</translation>
    </message>
    <message>
        <source>The device is not connected: %1</source>
        <translation>设备未连接：%1</translation>
    </message>
</context>
<context>
    <name>DirListModel</name>
    <message>
        <source>My files</source>
        <translation>我的文件</translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation>网络错误</translation>
    </message>
    <message>
        <source>Enter a folder name</source>
        <translation>请输入文件夹名称</translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation>设备未连接</translation>
    </message>
    <message>
        <source>Folder %1 created</source>
        <translation>已创建文件夹 %1</translation>
    </message>
</context>
<context>
    <name>DownloadFileModel</name>
    <message>
        <source>No Download Task</source>
        <translation>暂无下载任务</translation>
    </message>
</context>
<context>
    <name>EmptyView</name>
    <message>
        <source>No Data</source>
        <translation>暂无数据</translation>
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
提取码：
%3</translation>
    </message>
</context>
<context>
    <name>ExtlinkFileListModel</name>
    <message>
        <source>Report Extlink Successful.</source>
        <translation>举报成功。</translation>
    </message>
</context>
<context>
    <name>ExtlinkListModel</name>
    <message>
        <source>larkvault extlink -</source>
        <translation>larkvault 外链 -</translation>
    </message>
    <message>
        <source>Visit Time: %1</source>
        <translation>访问次数：%1</translation>
    </message>
    <message>
        <source>No Extlink Can Add</source>
        <translation>暂无链接</translation>
    </message>
    <message>
        <source>input extlink</source>
        <translation>请输入链接</translation>
    </message>
    <message>
        <source>existed extlink</source>
        <translation>该链接已在列表中</translation>
    </message>
    <message>
        <source>shareId or Code is null</source>
        <translation>链接缺少分享 ID 或提取码</translation>
    </message>
    <message>
        <source>add extlink url ok</source>
        <translation>链接已添加</translation>
    </message>
    <message>
        <source>Delete Extlink Successful.</source>
        <translation>链接已删除。</translation>
    </message>
    <message>
        <source>copy:%1</source>
        <translation>已复制：%1</translation>
    </message>
    <message>
        <source>copyed url</source>
        <translation>链接已复制</translation>
    </message>
    <message>
        <source>copyed code</source>
        <translation>提取码已复制</translation>
    </message>
    <message>
        <source>copyed all</source>
        <translation>链接和提取码已复制</translation>
    </message>
    <message>
        <source>No browser could be opened for the share page.</source>
        <translation>无法打开浏览器来显示分享页面。</translation>
    </message>
</context>
<context>
    <name>ExtlinkPage</name>
    <message>
        <source>No Extlink Can Add</source>
        <translation>暂无链接</translation>
    </message>
    <message>
        <source>My links</source>
        <translation>我的链接</translation>
    </message>
    <message>
        <source>Received links</source>
        <translation>收到的链接</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>表格</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>记录</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Add link</source>
        <translation>添加链接</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>分享</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>所有者</translation>
    </message>
    <message>
        <source>Visits</source>
        <translation>访问次数</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>创建时间</translation>
    </message>
    <message>
        <source>File visits: %1</source>
        <translation>文件访问次数：%1</translation>
    </message>
    <message>
        <source>Extraction code</source>
        <translation>提取码</translation>
    </message>
    <message>
        <source>This link needs its extraction code.</source>
        <translation>该链接需要提取码。</translation>
    </message>
    <message>
        <source>Delete this link? Nobody can open it afterwards.</source>
        <translation>确定删除该链接吗？删除后任何人都无法再打开它。</translation>
    </message>
    <message>
        <source>Remove this link from the list?</source>
        <translation>确定从列表中移除该链接吗？</translation>
    </message>
    <message numerus="yes">
        <source>%n links</source>
        <translation><numerusform>%n 个链接</numerusform></translation>
    </message>
</context>
<context>
    <name>FailListAlert</name>
    <message>
        <source>No Data</source>
        <translation>暂无数据</translation>
    </message>
</context>
<context>
    <name>FileCopyView</name>
    <message>
        <source>Failed to copy files</source>
        <translation>文件复制失败</translation>
    </message>
    <message>
        <source>copying file, remain %1</source>
        <translation>正在复制文件，剩余 %1 个</translation>
    </message>
    <message>
        <source>Cancel Copy</source>
        <translation>取消复制</translation>
    </message>
    <message>
        <source>Cancel_copy_msg_tip</source>
        <translation>确定取消复制吗？尚未复制的文件将不再复制。</translation>
    </message>
</context>
<context>
    <name>FileDownModel</name>
    <message>
        <source>Download failed</source>
        <translation>下载失败</translation>
    </message>
    <message>
        <source>Only documents are opened here</source>
        <translation>此处只能打开文档</translation>
    </message>
</context>
<context>
    <name>FileLevels</name>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>已选择 %1 项</translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation><numerusform>%n 项</numerusform></translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
</context>
<context>
    <name>FileListModel</name>
    <message>
        <source>Already added to download</source>
        <translation>已添加到下载列表</translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation>添加下载失败</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
    <message>
        <source>Already in the download list</source>
        <translation>已在下载列表中</translation>
    </message>
</context>
<context>
    <name>FilePage</name>
    <message>
        <source>Select files first</source>
        <translation>请先选择文件</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Upload files</source>
        <translation>上传文件</translation>
    </message>
    <message>
        <source>Upload folder</source>
        <translation>上传文件夹</translation>
    </message>
    <message>
        <source>New folder</source>
        <translation>新建文件夹</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>移动到</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>分享</translation>
    </message>
    <message>
        <source>Create link</source>
        <translation>创建链接</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>已选择 %1 项</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>修改时间</translation>
    </message>
    <message>
        <source>Drop to upload here</source>
        <translation>拖放到此处上传</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Folder name</source>
        <translation>文件夹名称</translation>
    </message>
    <message>
        <source>Link created</source>
        <translation>链接已创建</translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation>提取码：%1</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>已复制</translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;?</source>
        <translation>确定删除“%1”吗？</translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>确定删除选中的 %n 项吗？</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation><numerusform>%n 项</numerusform></translation>
    </message>
</context>
<context>
    <name>FileRow</name>
    <message>
        <source>Shared</source>
        <translation>已分享</translation>
    </message>
</context>
<context>
    <name>FileRowsModel</name>
    <message>
        <source>No Impliment.</source>
        <translation>暂未实现。</translation>
    </message>
    <message>
        <source>not selected item.</source>
        <translation>未选择任何项目。</translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation>添加下载失败</translation>
    </message>
    <message>
        <source>Already added to download</source>
        <translation>已添加到下载列表</translation>
    </message>
</context>
<context>
    <name>FilesDataTaskHelp</name>
    <message>
        <source>Device is not connected</source>
        <translation>设备未连接</translation>
    </message>
    <message>
        <source>Unknown source kind %1</source>
        <translation>未知的来源类型 %1</translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation>网络错误</translation>
    </message>
    <message>
        <source>Data Error</source>
        <translation>数据错误</translation>
    </message>
    <message>
        <source>Folder listing failed (%1)</source>
        <translation>获取文件夹内容失败（%1）</translation>
    </message>
</context>
<context>
    <name>FinishedView</name>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Are you sure clear all records ?</source>
        <translation>确定清空全部记录吗？</translation>
    </message>
    <message>
        <source>Are you sure delete the records ? The files stay on disk.</source>
        <translation>确定删除这些记录吗？文件仍保留在磁盘上。</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>已选择 %1 项</translation>
    </message>
    <message>
        <source>Total %1</source>
        <translation>共 %1 项</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>全部清空</translation>
    </message>
    <message>
        <source>Uploaded</source>
        <translation>已上传</translation>
    </message>
    <message>
        <source>Downloaded</source>
        <translation>已下载</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>打开所在文件夹</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>暂无数据</translation>
    </message>
</context>
<context>
    <name>Fn</name>
    <message>
        <source>not selected item.</source>
        <translation>未选择任何项目。</translation>
    </message>
    <message>
        <source>Network Error</source>
        <translation>网络错误</translation>
    </message>
</context>
<context>
    <name>FolderPicker</name>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation>选择文件夹</translation>
    </message>
    <message>
        <source>My files</source>
        <translation>我的文件</translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation>公共群组</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>上一级</translation>
    </message>
</context>
<context>
    <name>GroupListModel</name>
    <message>
        <source>Network Error</source>
        <translation>网络错误</translation>
    </message>
    <message>
        <source>Get File List failed(%1)</source>
        <translation>获取文件列表失败（%1）</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
    <message>
        <source>No Support Now.</source>
        <translation>暂不支持。</translation>
    </message>
    <message>
        <source>not selected item.</source>
        <translation>未选择任何项目。</translation>
    </message>
    <message>
        <source>%1 File have been added for download</source>
        <translation>已将 %1 个文件添加到下载列表</translation>
    </message>
    <message>
        <source>Failed to add file to download</source>
        <translation>添加下载失败</translation>
    </message>
    <message>
        <source>Operation Successfully.</source>
        <translation>操作成功。</translation>
    </message>
    <message>
        <source>Rename file failed(%1)</source>
        <translation>重命名文件失败（%1）</translation>
    </message>
    <message>
        <source>Delete files failed(%1)</source>
        <translation>删除文件失败（%1）</translation>
    </message>
    <message>
        <source>Move files failed(%1)</source>
        <translation>移动文件失败（%1）</translation>
    </message>
    <message>
        <source>Move files to Safe Box failed(%1)</source>
        <translation>移入保险箱失败（%1）</translation>
    </message>
    <message>
        <source>File Collect failed(%1)</source>
        <translation>收藏失败（%1）</translation>
    </message>
</context>
<context>
    <name>GroupView</name>
    <message>
        <source>Has Manager</source>
        <translation>管理员</translation>
    </message>
    <message>
        <source>Has Editer</source>
        <translation>可编辑</translation>
    </message>
    <message>
        <source>Has Browse</source>
        <translation>仅浏览</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>群主</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>成员</translation>
    </message>
    <message>
        <source>Add members</source>
        <translation>添加成员</translation>
    </message>
    <message>
        <source>New folder</source>
        <translation>新建文件夹</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Move to</source>
        <translation>移动到</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Folder name</source>
        <translation>文件夹名称</translation>
    </message>
    <message>
        <source>Choose a folder of this group</source>
        <translation>选择本群组中的文件夹</translation>
    </message>
    <message numerus="yes">
        <source>%n members</source>
        <translation><numerusform>%n 名成员</numerusform></translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;?</source>
        <translation>确定删除“%1”吗？</translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>确定删除选中的 %n 项吗？</numerusform></translation>
    </message>
    <message>
        <source>Search &quot;%1&quot;</source>
        <translation>搜索“%1”</translation>
    </message>
    <message>
        <source>Upload files</source>
        <translation>上传文件</translation>
    </message>
    <message>
        <source>Upload folder</source>
        <translation>上传文件夹</translation>
    </message>
    <message>
        <source>Search in the group</source>
        <translation>在群组中搜索</translation>
    </message>
    <message>
        <source>Sort by</source>
        <translation>排序</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>修改时间</translation>
    </message>
    <message>
        <source>Drop to upload here</source>
        <translation>拖放到此处上传</translation>
    </message>
</context>
<context>
    <name>InputDialog</name>
    <message>
        <source>Holds direction controls: %1</source>
        <translation>含有文字方向控制符：%1</translation>
    </message>
</context>
<context>
    <name>LVDownTask</name>
    <message>
        <source>Create Folder fail</source>
        <translation>创建文件夹失败</translation>
    </message>
    <message>
        <source>Create file fail</source>
        <translation>创建文件失败</translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation>设备未连接</translation>
    </message>
    <message>
        <source>no usable free name</source>
        <translation>没有可用的文件名</translation>
    </message>
    <message>
        <source>Move file fail</source>
        <translation>移动文件失败</translation>
    </message>
    <message>
        <source>The device stopped sending the file</source>
        <translation>设备停止发送该文件</translation>
    </message>
</context>
<context>
    <name>LVDownloadManager</name>
    <message>
        <source>Folder nested too deeply: %1</source>
        <translation>文件夹层级过深：%1</translation>
    </message>
    <message>
        <source>Folder listing failed: %1</source>
        <translation>获取文件夹内容失败：%1</translation>
    </message>
    <message>
        <source>File download success</source>
        <translation>文件下载成功</translation>
    </message>
</context>
<context>
    <name>LVUploadManager</name>
    <message>
        <source>File upload success</source>
        <translation>文件上传成功</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>文件名过长</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>create Folder fail</source>
        <translation>创建文件夹失败</translation>
    </message>
</context>
<context>
    <name>LVUploadTask</name>
    <message>
        <source>File does not exist</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>create Folder fail</source>
        <translation>创建文件夹失败</translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation>设备未连接</translation>
    </message>
</context>
<context>
    <name>LinkCard</name>
    <message>
        <source>Share link</source>
        <translation>分享链接</translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation>提取码：%1</translation>
    </message>
    <message>
        <source>Copy link</source>
        <translation>复制链接</translation>
    </message>
    <message>
        <source>Copy code</source>
        <translation>复制提取码</translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation>全部复制</translation>
    </message>
    <message>
        <source>Share to microblog</source>
        <translation>分享到微博</translation>
    </message>
    <message>
        <source>Share to messenger</source>
        <translation>分享到聊天应用</translation>
    </message>
</context>
<context>
    <name>LinkFilesView</name>
    <message>
        <source>Link</source>
        <translation>链接</translation>
    </message>
    <message>
        <source>Shared by %1</source>
        <translation>由 %1 分享</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>举报</translation>
    </message>
    <message>
        <source>Choose a folder on this computer</source>
        <translation>请选择本机上的文件夹</translation>
    </message>
    <message>
        <source>Sort by</source>
        <translation>排序</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>修改时间</translation>
    </message>
    <message>
        <source>Drop to upload here</source>
        <translation>拖放到此处上传</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>保存到</translation>
    </message>
</context>
<context>
    <name>MediaCategory</name>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
    <message>
        <source>List</source>
        <translation>列表</translation>
    </message>
    <message>
        <source>By day</source>
        <translation>按日期</translation>
    </message>
    <message>
        <source>Oldest first</source>
        <translation>最早的在前</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>收藏</translation>
    </message>
    <message>
        <source>Remove from favourites</source>
        <translation>取消收藏</translation>
    </message>
    <message>
        <source>Cancel favourite</source>
        <translation>取消收藏</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>分享</translation>
    </message>
    <message>
        <source>Create link</source>
        <translation>创建链接</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Copy to USB disk</source>
        <translation>复制到 U 盘</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>已选择 %1 项</translation>
    </message>
    <message>
        <source>Folder on the USB disk</source>
        <translation>U 盘上的文件夹</translation>
    </message>
    <message>
        <source>Link created</source>
        <translation>链接已创建</translation>
    </message>
    <message>
        <source>Extraction code: %1</source>
        <translation>提取码：%1</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>已复制</translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation><numerusform>%n 项</numerusform></translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;?</source>
        <translation>确定删除“%1”吗？</translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>确定删除选中的 %n 项吗？</numerusform></translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
</context>
<context>
    <name>MediaListModel</name>
    <message>
        <source>not selected item.</source>
        <translation>未选择任何项目。</translation>
    </message>
    <message>
        <source>Operation Successfully.</source>
        <translation>操作成功。</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
    <message>
        <source>Rename file not current selected.</source>
        <translation>请先选择要重命名的文件。</translation>
    </message>
</context>
<context>
    <name>MediaPage</name>
    <message>
        <source>Pictures</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>Videos</source>
        <translation>视频</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>音乐</translation>
    </message>
    <message>
        <source>Favourites</source>
        <translation>收藏</translation>
    </message>
</context>
<context>
    <name>MediaThumb</name>
    <message>
        <source>Shared</source>
        <translation>已分享</translation>
    </message>
</context>
<context>
    <name>MemberDialog</name>
    <message>
        <source>Manager</source>
        <translation>成员管理</translation>
    </message>
    <message>
        <source>Member Info</source>
        <translation>成员信息</translation>
    </message>
    <message>
        <source>Has Manager</source>
        <translation>管理员</translation>
    </message>
    <message>
        <source>Has Editer</source>
        <translation>可编辑</translation>
    </message>
    <message>
        <source>Has Browse</source>
        <translation>仅浏览</translation>
    </message>
    <message>
        <source>Change ower success</source>
        <translation>群主转让成功</translation>
    </message>
    <message>
        <source>No User</source>
        <translation>暂无用户</translation>
    </message>
    <message>
        <source>Add members</source>
        <translation>添加成员</translation>
    </message>
    <message>
        <source>Make editor</source>
        <translation>设为可编辑</translation>
    </message>
    <message>
        <source>Make browse only</source>
        <translation>设为仅浏览</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Make owner</source>
        <translation>设为群主</translation>
    </message>
    <message>
        <source>Remove %1 from the group?</source>
        <translation>确定将 %1 移出群组吗？</translation>
    </message>
    <message>
        <source>Hand the group over to %1?</source>
        <translation>确定将群组转让给 %1 吗？</translation>
    </message>
</context>
<context>
    <name>MemberPicker</name>
    <message>
        <source>Add members</source>
        <translation>添加成员</translation>
    </message>
    <message>
        <source>No User</source>
        <translation>暂无用户</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
</context>
<context>
    <name>MorePages</name>
    <message>
        <source>Folder listing interrupted</source>
        <translation>获取文件夹内容被中断</translation>
    </message>
</context>
<context>
    <name>NormalFileDownManager</name>
    <message>
        <source>Not a picture</source>
        <translation>不是图片</translation>
    </message>
</context>
<context>
    <name>OpenDeviceDialog</name>
    <message>
        <source>Open a device</source>
        <translation>打开设备</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>主机</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>User</source>
        <translation>用户</translation>
    </message>
    <message>
        <source>Token</source>
        <translation>令牌</translation>
    </message>
    <message>
        <source>Enter the device&apos;s host and port</source>
        <translation>请输入设备的主机和端口</translation>
    </message>
    <message>
        <source>Open the sample device</source>
        <translation>打开示例设备</translation>
    </message>
    <message>
        <source>The sample device cannot be started.</source>
        <translation>无法启动示例设备。</translation>
    </message>
</context>
<context>
    <name>PagedListModel</name>
    <message>
        <source>Failed to load the list</source>
        <translation>列表加载失败</translation>
    </message>
</context>
<context>
    <name>PhotoPreview</name>
    <message>
        <source>Added to the download list</source>
        <translation>已添加到下载列表</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>原图</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>PlayerPage</name>
    <message>
        <source>Add files</source>
        <translation>添加文件</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>取消静音</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Media files (*.mp4 *.mkv *.avi *.mov *.mp3 *.wav *.flac *.m4a *.ogg)</source>
        <translation>媒体文件 (*.mp4 *.mkv *.avi *.mov *.mp3 *.wav *.flac *.m4a *.ogg)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>PreviewDownload</name>
    <message>
        <source>It&apos;s being opened</source>
        <translation>正在打开</translation>
    </message>
    <message>
        <source>The file download will open automatically</source>
        <translation>文件下载完成后将自动打开</translation>
    </message>
</context>
<context>
    <name>PreviewListModel</name>
    <message>
        <source>Is fisrt photo</source>
        <translation>已经是第一张了</translation>
    </message>
    <message>
        <source>Is last photo</source>
        <translation>已经是最后一张了</translation>
    </message>
    <message>
        <source>Original load faile</source>
        <translation>原图加载失败</translation>
    </message>
    <message>
        <source>Original load success</source>
        <translation>原图加载成功</translation>
    </message>
</context>
<context>
    <name>PubFileBaseModel</name>
    <message>
        <source>Copying file</source>
        <translation>正在复制文件</translation>
    </message>
</context>
<context>
    <name>PubGroupModel</name>
    <message>
        <source>No Public Group</source>
        <translation>暂无公共群组</translation>
    </message>
    <message>
        <source>Add Member Success</source>
        <translation>添加成员成功</translation>
    </message>
</context>
<context>
    <name>PubGroupPage</name>
    <message>
        <source>No Public Group</source>
        <translation>暂无公共群组</translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation>公共群组</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>New group</source>
        <translation>新建群组</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Add members</source>
        <translation>添加成员</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Leave</source>
        <translation>退出群组</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Owner</source>
        <translation>群主</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>创建时间</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>修改时间</translation>
    </message>
    <message>
        <source>Group name</source>
        <translation>群组名称</translation>
    </message>
    <message>
        <source>Delete the group &quot;%1&quot; and its files?</source>
        <translation>确定删除群组“%1”及其文件吗？</translation>
    </message>
    <message>
        <source>Leave the group &quot;%1&quot;?</source>
        <translation>确定退出群组“%1”吗？</translation>
    </message>
    <message numerus="yes">
        <source>%n groups</source>
        <translation><numerusform>%n 个群组</numerusform></translation>
    </message>
</context>
<context>
    <name>PubGroupUserModel</name>
    <message>
        <source>No User</source>
        <translation>暂无用户</translation>
    </message>
</context>
<context>
    <name>QueueView</name>
    <message>
        <source>File Parsing</source>
        <translation>正在解析文件</translation>
    </message>
    <message>
        <source>Waiting</source>
        <translation>等待中</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>下载失败</translation>
    </message>
    <message>
        <source>Upload failed</source>
        <translation>上传失败</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Are you sure delete all transfer task ?</source>
        <translation>确定删除全部传输任务吗？</translation>
    </message>
    <message>
        <source>Are you sure delete transfer task ?</source>
        <translation>确定删除该传输任务吗？</translation>
    </message>
    <message>
        <source>Are you sure delete select transfer task ?</source>
        <translation>确定删除选中的传输任务吗？</translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation>已选择 %1 项</translation>
    </message>
    <message>
        <source>Total %1</source>
        <translation>共 %1 项</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>All Start</source>
        <translation>全部开始</translation>
    </message>
    <message>
        <source>All Pause</source>
        <translation>全部暂停</translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation>全部删除</translation>
    </message>
    <message>
        <source>File Detail</source>
        <translation>文件详情</translation>
    </message>
    <message>
        <source>No Download Task</source>
        <translation>暂无下载任务</translation>
    </message>
    <message>
        <source>No Upload Task</source>
        <translation>暂无上传任务</translation>
    </message>
</context>
<context>
    <name>Rec</name>
    <message>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>No Data</source>
        <translation>暂无数据</translation>
    </message>
</context>
<context>
    <name>ReportDialog</name>
    <message>
        <source>Report link</source>
        <translation>举报链接</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>原因</translation>
    </message>
    <message>
        <source>Illegal content</source>
        <translation>违法内容</translation>
    </message>
    <message>
        <source>Fraud</source>
        <translation>诈骗</translation>
    </message>
    <message>
        <source>Infringement</source>
        <translation>侵权</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>详细说明</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>联系电话</translation>
    </message>
</context>
<context>
    <name>ShareBaseModel</name>
    <message>
        <source>not selected item.</source>
        <translation>未选择任何项目。</translation>
    </message>
    <message>
        <source>Copy to success</source>
        <translation>复制成功</translation>
    </message>
</context>
<context>
    <name>SharePage</name>
    <message>
        <source>My shares</source>
        <translation>我的分享</translation>
    </message>
    <message>
        <source>Search: %1</source>
        <translation>搜索：%1</translation>
    </message>
    <message>
        <source>Shared with me</source>
        <translation>分享给我的</translation>
    </message>
    <message>
        <source>Shared by</source>
        <translation>分享者</translation>
    </message>
    <message>
        <source>Search shared files</source>
        <translation>搜索分享的文件</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Copy to</source>
        <translation>复制到</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Cancel share</source>
        <translation>取消分享</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Oldest first</source>
        <translation>最早的在前</translation>
    </message>
    <message>
        <source>Newest first</source>
        <translation>最新的在前</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message numerus="yes">
        <source>Stop sharing the %n selected items?</source>
        <translation><numerusform>确定取消分享选中的 %n 项吗？</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>Delete the %n selected items?</source>
        <translation><numerusform>确定删除选中的 %n 项吗？</numerusform></translation>
    </message>
</context>
<context>
    <name>ShareTargetPicker</name>
    <message>
        <source>Share</source>
        <translation>分享</translation>
    </message>
    <message>
        <source>Choose whom to share with</source>
        <translation>选择分享对象</translation>
    </message>
    <message>
        <source>No User</source>
        <translation>暂无用户</translation>
    </message>
    <message>
        <source>Chosen groups and users</source>
        <translation>已选的群组和用户</translation>
    </message>
    <message>
        <source>All users of the device</source>
        <translation>设备的所有用户</translation>
    </message>
    <message numerus="yes">
        <source>%n members</source>
        <translation><numerusform>%n 名成员</numerusform></translation>
    </message>
</context>
<context>
    <name>SideBar</name>
    <message>
        <source>Files</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Transfers</source>
        <translation>传输</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>媒体</translation>
    </message>
    <message>
        <source>Shares</source>
        <translation>分享</translation>
    </message>
    <message>
        <source>Public groups</source>
        <translation>公共群组</translation>
    </message>
    <message>
        <source>External links</source>
        <translation>外链</translation>
    </message>
    <message>
        <source>+ Open a device</source>
        <translation>+ 打开设备</translation>
    </message>
    <message>
        <source>Without a device</source>
        <translation>未打开设备</translation>
    </message>
    <message>
        <source>Link downloads</source>
        <translation>链接下载</translation>
    </message>
</context>
<context>
    <name>SingleFileDownManager</name>
    <message>
        <source>Create Folder fail</source>
        <translation>创建文件夹失败</translation>
    </message>
    <message>
        <source>Device is not connected</source>
        <translation>设备未连接</translation>
    </message>
</context>
<context>
    <name>SmartDownPage</name>
    <message>
        <source>Waiting</source>
        <translation>等待中</translation>
    </message>
    <message>
        <source>Download BT</source>
        <translation>BT 下载中</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Moving</source>
        <translation>移动中</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>Network exception</source>
        <translation>网络异常</translation>
    </message>
    <message>
        <source>Download BT Failed</source>
        <translation>BT 下载失败</translation>
    </message>
    <message>
        <source>Capacity is not enough</source>
        <translation>存储空间不足</translation>
    </message>
    <message>
        <source>Download failed</source>
        <translation>下载失败</translation>
    </message>
    <message>
        <source>Move failed</source>
        <translation>移动失败</translation>
    </message>
    <message>
        <source>Path failed</source>
        <translation>路径错误</translation>
    </message>
    <message>
        <source>No copyright</source>
        <translation>版权受限</translation>
    </message>
    <message>
        <source>No resources</source>
        <translation>无可用资源</translation>
    </message>
    <message>
        <source>Connect failed</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>Are you sure delete all download task ?</source>
        <translation>确定删除全部下载任务吗？</translation>
    </message>
    <message>
        <source>Are you sure delete select download task ?</source>
        <translation>确定删除选中的下载任务吗？</translation>
    </message>
    <message>
        <source>Are you sure delete download task ?</source>
        <translation>确定删除该下载任务吗？</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Delete download file</source>
        <translation>同时删除已下载的文件</translation>
    </message>
    <message>
        <source>New Task</source>
        <translation>新建任务</translation>
    </message>
    <message>
        <source>Input or pause download link tip</source>
        <translation>请输入或粘贴下载链接</translation>
    </message>
    <message>
        <source>Storage To:</source>
        <translation>保存到：</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>下载中</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>Add Torrent</source>
        <translation>添加种子</translation>
    </message>
    <message>
        <source>All Start</source>
        <translation>全部开始</translation>
    </message>
    <message>
        <source>All Pause</source>
        <translation>全部暂停</translation>
    </message>
    <message>
        <source>Delete All</source>
        <translation>全部删除</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>No File</source>
        <translation>暂无文件</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>No download tasks</source>
        <translation>没有下载任务</translation>
    </message>
</context>
<context>
    <name>TSFinishFileModel</name>
    <message>
        <source>No Data</source>
        <translation>暂无数据</translation>
    </message>
    <message>
        <source>Delete failed</source>
        <translation>删除失败</translation>
    </message>
</context>
<context>
    <name>TidewellDownload</name>
    <message>
        <source>File does not write</source>
        <translation>设备上找不到该文件</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
</context>
<context>
    <name>TidewellNet</name>
    <message>
        <source>The device&apos;s answer could not be read</source>
        <translation>无法读取设备的应答</translation>
    </message>
    <message>
        <source>The connection was closed</source>
        <translation>连接已关闭</translation>
    </message>
</context>
<context>
    <name>TidewellTab</name>
    <message numerus="yes">
        <source>%n file Add upload file completed</source>
        <translation><numerusform>已将 %n 个文件添加到上传列表</numerusform></translation>
    </message>
    <message>
        <source>Add upload file faile</source>
        <translation>添加上传文件失败</translation>
    </message>
</context>
<context>
    <name>TidewellUpload</name>
    <message>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>Capacity is full</source>
        <translation>存储空间不足</translation>
    </message>
    <message>
        <source>Without permission</source>
        <translation>没有权限</translation>
    </message>
    <message>
        <source>Unauthorized operation</source>
        <translation>未授权的操作</translation>
    </message>
    <message>
        <source>File does not exist</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>Space by remove</source>
        <translation>存储空间已被移除</translation>
    </message>
</context>
<context>
    <name>TorrentPicker</name>
    <message>
        <source>Choose a torrent file</source>
        <translation>选择种子文件</translation>
    </message>
</context>
<context>
    <name>TransferPage</name>
    <message>
        <source>Transfer&gt; Uploading</source>
        <translation>传输 &gt; 正在上传</translation>
    </message>
    <message>
        <source>Transfer&gt; Download</source>
        <translation>传输 &gt; 下载</translation>
    </message>
    <message>
        <source>Transfer&gt; Finished</source>
        <translation>传输 &gt; 已完成</translation>
    </message>
    <message>
        <source>Transfer&gt; Device Tasks</source>
        <translation>传输 &gt; 设备任务</translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation>正在上传</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>已完成</translation>
    </message>
    <message>
        <source>Device Tasks</source>
        <translation>设备任务</translation>
    </message>
</context>
<context>
    <name>TwMediaPlayer</name>
    <message>
        <source>The device cannot be reached. Playing goes on when it answers again.</source>
        <translation>无法连接设备。设备恢复响应后将继续播放。</translation>
    </message>
    <message>
        <source>No audio output: the sound cannot be played.</source>
        <translation>没有音频输出设备：无法播放声音。</translation>
    </message>
    <message>
        <source>The file&apos;s format cannot be played.</source>
        <translation>无法播放此文件格式。</translation>
    </message>
    <message>
        <source>The file cannot be played: %1</source>
        <translation>无法播放此文件：%1</translation>
    </message>
    <message>
        <source>The file is no longer on the device.</source>
        <translation>设备上已没有此文件。</translation>
    </message>
    <message>
        <source>The cache disk is full (%1). Playing goes on from the device.</source>
        <translation>缓存磁盘已满（%1）。将继续从设备播放。</translation>
    </message>
</context>
<context>
    <name>UploadFileModel</name>
    <message>
        <source>No Upload Task</source>
        <translation>暂无上传任务</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>&amp;Show</source>
        <translation>显示(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
</context>
</TS>
