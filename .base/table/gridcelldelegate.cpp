#include "table/gridcelldelegate.h"

#include "table/gridmodel.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

GridCellDelegate::GridCellDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QWidget *GridCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (GridModel::isNumberColumn(index.column())) {
        static const QRegularExpression digits(QStringLiteral("[0-9]{0,9}"));
        editor->setValidator(new QRegularExpressionValidator(digits, editor));
        editor->setAlignment(Qt::AlignRight);
    }
    return editor;
}

void GridCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setText(index.data(Qt::EditRole).toString());
}

void GridCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line)
        return;
    const QString text = line->text();
    if (!GridModel::isNumberColumn(index.column())) {
        model->setData(index, text);
        return;
    }
    if (text.isEmpty()) {
        model->setData(index, QVariant());
        return;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        model->setData(index, value);
}
