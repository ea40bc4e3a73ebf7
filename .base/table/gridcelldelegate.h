#pragma once

#include <QStyledItemDelegate>

// Edits grid cells in a plain line edit. The number columns accept digits only, at most
// nine so that every typed value fits a 32-bit cell; an emptied number cell becomes empty.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridCellDelegate(QObject *parent = nullptr);

    // reimplemented from QStyledItemDelegate
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};
