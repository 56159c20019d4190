#include "media/dayrowsmodel.h"

#include "media/grouplistmodel.h"
#include "media/medialistmodel.h"

DayRowsModel::DayRowsModel(QObject* parent) : QAbstractListModel(parent) {}

QObject* DayRowsModel::group() const
{
    return m_group.data();
}

void DayRowsModel::setGroup(QObject* obj)
{
    auto* g = qobject_cast<GroupListModel*>(obj);
    if (g == m_group)
        return;
    if (m_group)
        m_group->disconnect(this);
    for (const QPointer<MediaListModel>& s : qAsConst(m_watched)) {
        if (s)
            s->disconnect(this);
    }
    m_watched.clear();
    beginResetModel();
    m_group = g;
    m_rows = layout();
    m_headers = headersOf(m_rows);
    endResetModel();
    if (g) {
        connect(g, &QAbstractItemModel::rowsInserted, this, &DayRowsModel::relayout);
        connect(g, &QAbstractItemModel::rowsRemoved, this, &DayRowsModel::relayout);
        // A refreshed group starts over, the view at its top.
        connect(g, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
            beginResetModel();
            m_rows.clear();
            m_headers.clear();
        });
        connect(g, &QAbstractItemModel::modelReset, this, [this] {
            m_rows = layout();
            m_headers = headersOf(m_rows);
            endResetModel();
            watchSections();
        });
        connect(g, &QAbstractItemModel::layoutChanged, this, &DayRowsModel::relayout);
        connect(g, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& a, const QModelIndex& b) {
            for (int sec = a.row(); sec <= b.row(); ++sec) {
                const int h = headerRow(sec);
                if (h >= 0)
                    emit dataChanged(index(h), index(h), {SectionNameRole});
            }
        });
        connect(g, &QObject::destroyed, this, [this] {
            beginResetModel();
            m_rows.clear();
            m_headers.clear();
            m_watched.clear();
            endResetModel();
        });
        watchSections();
    }
    emit groupChanged();
}

void DayRowsModel::setColumns(int columns)
{
    columns = qMax(1, columns);
    if (columns == m_columns)
        return;
    beginResetModel();
    m_columns = columns;
    m_rows = layout();
    m_headers = headersOf(m_rows);
    endResetModel();
    emit columnsChanged();
}

QVector<DayRowsModel::Row> DayRowsModel::layout() const
{
    QVector<Row> rows;
    if (!m_group)
        return rows;
    for (int sec = 0; sec < m_group->sectionCount(); ++sec) {
        const int n = m_group->section(sec)->rowCount();
        rows.append({sec, -1, 0});
        for (int first = 0; first < n; first += m_columns)
            rows.append({sec, first, qMin(m_columns, n - first)});
    }
    return rows;
}

QVector<int> DayRowsModel::headersOf(const QVector<Row>& rows)
{
    QVector<int> out;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).first < 0)
            out.append(i);
    }
    return out;
}

void DayRowsModel::relayout()
{
    const QVector<Row> fresh = layout();
    const int oldN = m_rows.size();
    const int newN = fresh.size();
    // Rows keeping their place (a day's last row may gain cells), and the
    // unchanged tail; only what lies between is removed and inserted.
    int p = 0;
    while (p < oldN && p < newN && m_rows.at(p).section == fresh.at(p).section
           && m_rows.at(p).first == fresh.at(p).first)
        ++p;
    int s = 0;
    while (s < oldN - p && s < newN - p && m_rows.at(oldN - 1 - s) == fresh.at(newN - 1 - s))
        ++s;
    const int gone = oldN - p - s;
    const int added = newN - p - s;
    if (gone > 0) {
        beginRemoveRows(QModelIndex(), p, p + gone - 1);
        m_rows.remove(p, gone);
        endRemoveRows();
    }
    if (added > 0) {
        beginInsertRows(QModelIndex(), p, p + added - 1);
        m_rows.insert(p, added, Row{0, 0, 0});
        for (int i = 0; i < added; ++i)
            m_rows[p + i] = fresh.at(p + i);
        endInsertRows();
    }
    m_rows = fresh;
    m_headers = headersOf(m_rows);
    watchSections();
    // Cells moved between rows: the rows in sight read theirs again.
    if (!m_rows.isEmpty())
        emit dataChanged(index(0), index(m_rows.size() - 1));
}

void DayRowsModel::watchSections()
{
    if (!m_group)
        return;
    for (int sec = 0; sec < m_group->sectionCount(); ++sec) {
        MediaListModel* s = m_group->section(sec);
        if (m_watched.contains(s))
            continue;
        m_watched.append(s);
        connect(s, &QAbstractItemModel::rowsInserted, this, &DayRowsModel::relayout);
        connect(s, &QAbstractItemModel::rowsRemoved, this, &DayRowsModel::relayout);
        connect(s, &QAbstractItemModel::modelReset, this, &DayRowsModel::relayout);
        connect(s, &QAbstractItemModel::dataChanged, this, [this, s](const QModelIndex& a, const QModelIndex& b) {
            sectionDataChanged(s, a.row(), b.row());
        });
    }
    m_watched.removeAll(QPointer<MediaListModel>());
}

void DayRowsModel::sectionDataChanged(MediaListModel* s, int first, int last)
{
    if (!m_group)
        return;
    int sec = s->groupIndex();
    if (m_group->section(sec) != s) {
        sec = -1;
        for (int i = 0; i < m_group->sectionCount(); ++i) {
            if (m_group->section(i) == s)
                sec = i;
        }
    }
    const int h = headerRow(sec);
    if (h < 0 || first < 0 || last < first)
        return;
    const int end = sec + 1 < m_headers.size() ? m_headers.at(sec + 1) - 1 : m_rows.size() - 1;
    const int a = qMin(end, h + 1 + first / m_columns);
    const int b = qMin(end, h + 1 + last / m_columns);
    if (a > h && b >= a)
        emit dataChanged(index(a), index(b), {CellsRole});
}

int DayRowsModel::headerRow(int section) const
{
    return section >= 0 && section < m_headers.size() ? m_headers.at(section) : -1;
}

int DayRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariantList DayRowsModel::cells(const Row& r) const
{
    QVariantList out;
    MediaListModel* s = m_group ? m_group->section(r.section) : nullptr;
    if (!s || r.first < 0)
        return out;
    for (int i = r.first; i < r.first + r.count && i < s->rowCount(); ++i) {
        const QModelIndex at = s->index(i);
        QVariantMap cell;
        cell.insert("name", s->data(at, MediaListModel::FileNameRole));
        cell.insert("thumb", s->data(at, MediaListModel::FileThumbUrlRole));
        cell.insert("selected", s->data(at, MediaListModel::SelectedRole));
        cell.insert("loved", s->data(at, MediaListModel::FileIsLoveRole));
        cell.insert("shared", s->data(at, MediaListModel::FileIsShareRole));
        out.append(cell);
    }
    return out;
}

QVariant DayRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows.size() || !m_group)
        return QVariant();
    const Row& r = m_rows.at(index.row());
    switch (role) {
    case HeaderRole: return r.first < 0;
    case SectionRole: return r.section;
    case FirstRole: return qMax(0, r.first);
    case CountRole: return r.count;
    case SectionNameRole:
        return m_group->data(m_group->index(r.section), GroupListModel::SectionNameRole);
    case ItemsRole: return QVariant::fromValue<QObject*>(m_group->section(r.section));
    case CellsRole: return cells(r);
    default: return QVariant();
    }
}

QHash<int, QByteArray> DayRowsModel::roleNames() const
{
    return {
        {HeaderRole, "$Header"},
        {SectionRole, "$Section"},
        {FirstRole, "$First"},
        {CountRole, "$Count"},
        {SectionNameRole, "$SectionName"},
        {ItemsRole, "$Items"},
        {CellsRole, "$Cells"},
    };
}

int DayRowsModel::rowOf(int section, const QVariant& fileId) const
{
    if (!m_group)
        return -1;
    if (!fileId.isValid() || fileId.toString().isEmpty())
        return headerRow(section);
    const qint64 id = fileId.toLongLong();
    for (int sec = 0; sec < m_group->sectionCount(); ++sec) {
        if (section >= 0 && sec != section)
            continue;
        const int row = m_group->section(sec)->rowOfId(id);
        if (row >= 0)
            return headerRow(sec) + 1 + row / m_columns;
    }
    return -1;
}
