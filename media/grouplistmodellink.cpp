#include "device/tidewelldevice.h"
#include "media/grouplistmodel.h"

// The answer comes to the file list's slot, which hands the link to the
// page and clears the selection of every section.
void GroupListModel::fileCreateExtlink(QString title, QString extractedCode)
{
    const QList<TwFileInfo> items = selectedItems();
    if (items.isEmpty()) {
        notifyStatus(100200, tr("not selected item."), 0);
        return;
    }
    TidewellDevice* d = device();
    QList<qint64> ids;
    for (const TwFileInfo& f : items)
        ids << f.id;
    if (d)
        connect(d, &TidewellDevice::rCreateExternalLink, this, &FileListModel::rCreateExternalLink,
                Qt::UniqueConnection);
    m_linkCode = extractedCode;
    if (!d || !d->createExternalLink(m_handle, ids, title, extractedCode))
        notifyStatus(100101, tr("Network Error"), 2);
}
