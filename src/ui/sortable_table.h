#pragma once

// The tables of the secondary windows that list rows of figures: each cell shows its text and
// sorts by its value, so that 9 comes before 10 and shifts come in the day's order.

#include <QString>
#include <QVariant>

class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;
class QTableView;

namespace quorvane {

// A read-only cell showing `text` that sorts by `sortValue`; numbers aligned right.
QStandardItem* sortableCell(const QString& text, const QVariant& sortValue, bool number);

// `view` shows `model` through `sorted`, every column sortable by its cells' values, the rows in
// the model's own order until a column is chosen, whole rows selected.
void showSortable(QTableView& view, QStandardItemModel& model, QSortFilterProxyModel& sorted);

}  // namespace quorvane
