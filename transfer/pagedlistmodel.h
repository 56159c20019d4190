#pragma once

#include <QList>
#include <QSet>

#include "core/basemodel.h"
#include "transfer/pagerequest.h"

// Paging shared by the transfer lists: the one request in flight, whether
// more pages may come, the next page number, and what to do with an
// answer. When `page` advances stays with each list.
class PagedListModel : public BaseModel
{
    Q_OBJECT
public:
    using BaseModel::BaseModel;

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // Paging state, for the owner page and tests.
    int page() const { return m_page; }
    bool hasMore() const { return m_hasMore; }
    bool isLoading() const { return m_req.busy(); }

protected:
    virtual void loadData() = 0;
    // An answer to one of our page requests arrived (current or stale).
    virtual void pageAnswerArrived() {}

    // A new page request; overlay: it shows the busy overlay, which its
    // answer closes again, current or stale.
    int beginRequest(bool overlay);
    // True for the answer to the current request. Another model's answer
    // is ignored; a stale one is dropped and page 1 asked for when a
    // reload is due.
    bool takeAnswer(int serial);
    // A current page that could not be read is reported, and paging stops
    // until the list is loaded again.
    bool pageReadable(bool ok);
    // Page 1 replaces the rows in a model reset; a later page is appended.
    // The order moves while a list is paged, so a later page can repeat a
    // record already shown: it is left out.
    template <class Rec>
    void mergePage(QList<Rec>& rows, const QList<Rec>& pageRows, bool first);

    PageRequest m_req;
    bool m_hasMore = true;
    bool m_isRefreshing = false;
    int m_page = 1;
    // The page the request in flight asked for: m_page, or the one before
    // when a list reads a page again.
    int m_askedPage = 1;
};

template <class Rec>
void PagedListModel::mergePage(QList<Rec>& rows, const QList<Rec>& pageRows, bool first)
{
    if (first) {
        beginResetModel();
        rows = pageRows;
        endResetModel();
        return;
    }
    QSet<int> have;
    for (const Rec& r : rows)
        have.insert(r.fId);
    QList<Rec> fresh;
    for (const Rec& r : pageRows) {
        if (!have.contains(r.fId)) {
            have.insert(r.fId);
            fresh.append(r);
        }
    }
    if (fresh.isEmpty())
        return;
    beginInsertRows(QModelIndex(), rows.size(), rows.size() + fresh.size() - 1);
    rows += fresh;
    endInsertRows();
}
