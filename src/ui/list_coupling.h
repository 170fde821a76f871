#pragma once

#include <QObject>

class QListWidget;

namespace quorvane {

// Keeps the rows of two side-by-side lists together (lstN beside lstSta): a change of the first
// visible row or of the current entry in one list is repeated in the other. The other list's
// selection is left alone, so a current entry set from lstN never changes the stations chosen
// in lstSta. Repeating a change that is already in place does nothing, and a change being
// repeated is not repeated back.
class ListCoupling : public QObject {
    Q_OBJECT
  public:
    ListCoupling(QListWidget* first, QListWidget* second, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow(QListWidget* leader, QListWidget* follower);
    void followScroll(QListWidget* leader, QListWidget* follower);

    QListWidget* first_;
    QListWidget* second_;
    bool repeating_ = false;
};

}  // namespace quorvane
