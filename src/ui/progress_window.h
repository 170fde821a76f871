#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

class QLabel;
class QProgressBar;

namespace quorvane {

// frmProgress: the station counter of the build and of the recomputation.
class ProgressWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressWindow(QWidget* owner);

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QLabel* Label2;
};

// Owns frmProgress (created on first use) and the loops that show it. Loops may nest (a
// recomputation started from the main window while a build lets events run): the inner loop's
// end gives the window back to the outer loop instead of hiding it. The window's bar and
// counter follow a loop at most kRepaintsPerSecond times a second (and always show its first
// and last station): painting them after each of a metro day's 2000 stations would cost more
// than the stations.
class Progress {
  public:
    explicit Progress(QWidget* owner) : owner_(owner) {}

    static constexpr int kRepaintsPerSecond = 30;

    ProgressWindow* window() const { return window_; }  // null until first used
    void close();

  private:
    friend class ProgressSession;
    struct Loop {
        QString title;
        int total = 0;
        int value = 0;
        QString counter;
    };
    void show(const Loop& loop);
    // The loop's station count and counter into the window, when it shows that loop.
    void showCount(const Loop& loop);
    ProgressWindow& ensureWindow();

    QWidget* owner_;
    QPointer<ProgressWindow> window_;
    std::vector<Loop> loops_;
    QElapsedTimer sinceShown_;  // since the window's texts and bar were last set
};

// One long loop's use of the progress window: shown with the title and a bar of 0..total,
// counted by stationDone, hidden (or handed back) when the session ends, however it ends.
class ProgressSession {
  public:
    ProgressSession(Progress& progress, QString title, int total);
    ~ProgressSession();
    ProgressSession(const ProgressSession&) = delete;
    ProgressSession& operator=(const ProgressSession&) = delete;

    // "0 of 25 Stations" after the first of 25 stations (the window may show it a little
    // later, see Progress).
    void stationDone(int done, int total);

  private:
    Progress& progress_;
    std::size_t depth_;
};

}  // namespace quorvane
