#pragma once

#include <gtest/gtest.h>

// The widgets of MainControls, which every window test reads and drives.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/scripted_dialogs.h"
#include "support/test_day.h"
#include "support/test_files.h"
#include "ui/commands.h"
#include "ui/main_controls.h"
#include "ui/main_window.h"

namespace quorvane::test {

// A shown main window on a temporary folder that holds the definition lists, the test day's
// archive (traffic/may5.traffic) and every file the window writes.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    MainControls& c() { return window->controls(); }
    const Workspace& workspace() const { return window->workspace(); }

    // Deletes the windows closed since (graph windows delete themselves when closed).
    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A fresh main window whose program folder is `programFolder`, its messages cleared.
    void reopen(const std::filesystem::path& programFolder);
    // A click as the user makes it: the button's tab is chosen first, and must be available.
    void click(QAbstractButton* button);
    // The build of `archivePath` through the button; expects the success message.
    void build(const std::filesystem::path& archivePath);
    void build() { build(archive); }
    // A build re-aggregated at entry `interval` of cmbPlotInterval, its messages cleared.
    void buildAt(int interval);
    // Saves the day in force to `path` through the button.
    void save(const std::filesystem::path& path);
    // Picks an entry of a list as the user does.
    void choose(QComboBox* list, int index);
    // Types text into an editable list's edit field, so that no entry is selected.
    static void type(QComboBox* list, const QString& text) {
        list->lineEdit()->selectAll();
        QTest::keyClicks(list->lineEdit(), text);
    }
    static void clickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // Runs `run`; at the first turn of the event loop meanwhile at which `when` holds, runs
    // `action` once. Returns whether it ran.
    static bool meanwhile(const std::function<bool()>& when, const std::function<void()>& action,
                          const std::function<void()>& run);

    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    std::filesystem::path archive = dir / "traffic" / "may5.traffic";
};

}  // namespace quorvane::test
