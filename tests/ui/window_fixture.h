#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <memory>

#include "scripted_dialogs.h"
#include "support/test_files.h"
#include "ui/main_controls.h"
#include "ui/main_window.h"

class QAbstractButton;
class QComboBox;

namespace quorvane::test {

// A shown main window on a temporary folder that holds the definition lists, the test day's
// archive and every file the window writes.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    MainControls& c() { return window->controls(); }
    const Workspace& workspace() const { return window->workspace(); }

    // A click as the user makes it: the button's tab is chosen first, and must be available.
    void click(QAbstractButton* button);
    // The build of `archivePath` through the button, answered through the dialogs; expects
    // the success message.
    void build(const std::filesystem::path& archivePath);
    void build() { build(archive); }
    // Saves the day in force to `path` through the button.
    void save(const std::filesystem::path& path);
    // Picks an entry of a list as the user does (the edit field shows the entry).
    void choose(QComboBox* list, int index);
    // Types text into an editable list's edit field, so that no entry is selected.
    void type(QComboBox* list, const QString& text);

    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    std::filesystem::path archive;
};

// A caption without its mnemonic marker.
QString plain(const QString& caption);

}  // namespace quorvane::test
