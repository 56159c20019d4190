#pragma once

#include <QAbstractListModel>
#include <QPointer>
#include <QVector>

class GroupListModel;
class MediaListModel;

// The grouped media as one flat list a single view can show: per day a
// header row, then rows of up to `columns` cells. Only the rows in sight
// get delegates, however many items a day holds. Clicks go to the day's
// own section model ($Items), whose selection rules stay as they are.
class DayRowsModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* group READ group WRITE setGroup NOTIFY groupChanged)
    Q_PROPERTY(int columns READ columns WRITE setColumns NOTIFY columnsChanged)
public:
    enum Role {
        HeaderRole = Qt::UserRole + 1,
        SectionRole,
        FirstRole,
        CountRole,
        SectionNameRole,
        ItemsRole,
        CellsRole,
    };

    explicit DayRowsModel(QObject* parent = nullptr);

    QObject* group() const;
    void setGroup(QObject* group);
    int columns() const { return m_columns; }
    void setColumns(int columns);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The row showing a loaded file (its id as number or text), or the
    // header of day section `section` when fileId is empty; -1 if none.
    Q_INVOKABLE int rowOf(int section, const QVariant& fileId) const;

signals:
    void groupChanged();
    void columnsChanged();

private:
    struct Row
    {
        int section;
        int first;   // -1 for the header
        int count;
        bool operator==(const Row& o) const { return section == o.section && first == o.first && count == o.count; }
    };

    QVector<Row> layout() const;
    static QVector<int> headersOf(const QVector<Row>& rows);
    // Brings the rows in line with the sections with as few row moves as
    // possible, then refreshes the rows in sight.
    void relayout();
    void watchSections();
    void sectionDataChanged(MediaListModel* s, int first, int last);
    int headerRow(int section) const;
    QVariantList cells(const Row& r) const;

    QPointer<GroupListModel> m_group;
    QVector<QPointer<MediaListModel>> m_watched;
    QVector<Row> m_rows;
    QVector<int> m_headers;
    int m_columns = 1;
};
