#include "ui/list_coupling.h"

#include <QEvent>
#include <QListWidget>
#include <QScrollBar>

namespace quorvane {

ListCoupling::ListCoupling(QListWidget* first, QListWidget* second, QObject* parent)
    : QObject(parent), first_(first), second_(second) {
    connect(first_, &QListWidget::currentRowChanged, this, [this] { follow(first_, second_); });
    connect(second_, &QListWidget::currentRowChanged, this, [this] { follow(second_, first_); });
    connect(first_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { followScroll(first_, second_); });
    connect(second_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { followScroll(second_, first_); });
    // A resize can change the first visible row of one list only.
    first_->viewport()->installEventFilter(this);
    second_->viewport()->installEventFilter(this);
}

bool ListCoupling::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == first_->viewport()) {
            followScroll(first_, second_);
        } else if (watched == second_->viewport()) {
            followScroll(second_, first_);
        }
    }
    return QObject::eventFilter(watched, event);
}

void ListCoupling::follow(QListWidget* leader, QListWidget* follower) {
    if (repeating_) {
        return;
    }
    repeating_ = true;
    follower->verticalScrollBar()->setValue(leader->verticalScrollBar()->value());
    const int row = leader->currentRow();
    if (follower->currentRow() != row && row < follower->count()) {
        // lstN (one entry at a time) shows the row as selected; lstSta keeps its selection.
        const auto how = follower->selectionMode() == QAbstractItemView::SingleSelection
                             ? QItemSelectionModel::ClearAndSelect
                             : QItemSelectionModel::NoUpdate;
        follower->selectionModel()->setCurrentIndex(follower->model()->index(row, 0), how);
    }
    // Making the current entry visible may have scrolled either list.
    follower->verticalScrollBar()->setValue(leader->verticalScrollBar()->value());
    repeating_ = false;
}

void ListCoupling::followScroll(QListWidget* leader, QListWidget* follower) {
    if (repeating_) {
        return;
    }
    repeating_ = true;
    follower->verticalScrollBar()->setValue(leader->verticalScrollBar()->value());
    repeating_ = false;
}

}  // namespace quorvane
