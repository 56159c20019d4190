#include "transfer/pagedlistmodel.h"

#include <QDebug>

bool PagedListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_hasMore;
}

void PagedListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid() || !m_hasMore || m_req.busy())
        return;
    loadData();
}

int PagedListModel::beginRequest(bool overlay)
{
    const int serial = m_req.begin(overlay);
    if (overlay)
        showLoading();
    return serial;
}

bool PagedListModel::takeAnswer(int serial)
{
    const PageRequest::Answer a = m_req.take(serial, this);
    if (a == PageRequest::Foreign)
        return false;
    pageAnswerArrived();
    if (a == PageRequest::Stale) {
        if (m_req.takeReload())
            loadData();
        return false;
    }
    m_isRefreshing = false;
    return true;
}

bool PagedListModel::pageReadable(bool ok)
{
    if (ok)
        return true;
    qWarning() << metaObject()->className() << "- page" << m_page << "could not be read.";
    // No automatic retry; loading the list again starts over.
    m_hasMore = false;
    const QString msg = tr("Failed to load the list");
    notifyStatus(-1, msg, TL_Error);
    if (rowCount() == 0)
        defaultStateChange(DS_Error, msg);
    return false;
}
