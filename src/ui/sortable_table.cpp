#include "ui/sortable_table.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>

namespace quorvane {

namespace {

constexpr int kSortValueRole = Qt::UserRole + 1;

}  // namespace

QStandardItem* sortableCell(const QString& text, const QVariant& sortValue, bool number) {
    auto* item = new QStandardItem(text);
    item->setData(sortValue, kSortValueRole);
    item->setEditable(false);
    item->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                  : Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

void showSortable(QTableView& view, QStandardItemModel& model, QSortFilterProxyModel& sorted) {
    sorted.setSourceModel(&model);
    sorted.setSortRole(kSortValueRole);
    view.setModel(&sorted);
    view.setSortingEnabled(true);
    view.sortByColumn(-1, Qt::AscendingOrder);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setAlternatingRowColors(true);
    view.verticalHeader()->hide();
    view.resizeColumnsToContents();
}

}  // namespace quorvane
