#include "ui/progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace quorvane {

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Window),
      Label1(new QLabel(QStringLiteral("Progress of unzip and station data computation "))),
      ProgressBar1(new QProgressBar),
      Label2(new QLabel(QStringLiteral("Label2"))) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress Window"));
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    for (QWidget* control : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(ProgressBar1),
                             static_cast<QWidget*>(Label2)}) {
        control->setAccessibleDescription(control->objectName());
    }
    ProgressBar1->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Label2);
    resize(360, sizeHint().height());
}

void Progress::close() {
    loops_.clear();
    if (window_ != nullptr) {
        window_->close();
    }
}

ProgressWindow& Progress::ensureWindow() {
    if (window_ == nullptr) {
        window_ = new ProgressWindow(owner_);
    }
    return *window_;
}

void Progress::show(const Loop& loop) {
    ProgressWindow& window = ensureWindow();
    window.Label1->setText(loop.title);
    window.ProgressBar1->setMaximum(loop.total);
    window.ProgressBar1->setMinimum(0);
    showCount(loop);
    if (!window.isVisible()) {
        window.show();  // not modal: the main window stays usable
    }
}

void Progress::showCount(const Loop& loop) {
    window_->ProgressBar1->setValue(loop.value);
    window_->Label2->setText(loop.counter);
    sinceShown_.start();
}

ProgressSession::ProgressSession(Progress& progress, QString title, int total)
    : progress_(progress), depth_(progress.loops_.size()) {
    const QString counter =
        progress.window() != nullptr ? progress.window()->Label2->text() : QString();
    progress_.loops_.push_back({std::move(title), total, 0, counter});
    progress_.show(progress_.loops_.back());
}

ProgressSession::~ProgressSession() {
    if (progress_.loops_.size() <= depth_) {
        return;  // the window was closed meanwhile
    }
    progress_.loops_.resize(depth_);
    if (progress_.loops_.empty()) {
        if (progress_.window() != nullptr) {
            progress_.window()->hide();
        }
    } else {
        progress_.show(progress_.loops_.back());
    }
}

void ProgressSession::stationDone(int done, int total) {
    if (progress_.loops_.size() <= depth_) {
        return;
    }
    Progress::Loop& loop = progress_.loops_[depth_];
    loop.value = done;
    loop.counter = QStringLiteral("%1 of %2 Stations").arg(done).arg(total);
    const bool shown = depth_ + 1 == progress_.loops_.size() && progress_.window() != nullptr;
    // The first station replaces the counter an earlier loop left at once, the last one is
    // what the window keeps showing.
    const bool due = done == 0 || done + 1 >= total ||
                     progress_.sinceShown_.elapsed() >= 1000 / Progress::kRepaintsPerSecond;
    if (shown && due) {
        progress_.showCount(loop);
    }
}

}  // namespace quorvane
