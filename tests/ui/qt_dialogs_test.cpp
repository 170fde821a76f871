// The Qt dialogs as the user answers them, and a day on a read-only share: the open dialogs of
// build and load return read-only files, only the save dialogs refuse them, and the build and
// load read a day (and the lists beside it) from a folder nobody may write. File modes do not
// bind root: ctest runs the ReadOnly cases again as an unprivileged user (run_as_user.sh).
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "charts/chart_editor.h"
#include "ui/file_requests.h"
#include "ui/qt_dialogs.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

#define SKIP_AS_ROOT()                                                                   \
    if (geteuid() == 0) {                                                                \
        GTEST_SKIP() << "file modes do not bind root; ctest runs this case again as an " \
                        "unprivileged user (ui_read_only_as_user)";                      \
    }

// One file choice through QtDialogs, answered as a user would: the file dialog gets `typed` in
// its name field (after stepping to the next file type when `nextType`) the first time it opens
// and is cancelled after that, or at once when `typed` is empty; Qt's question whether to replace
// a file is answered Yes; any other message box is recorded in `boxes` and closed.
struct AsUser {
    explicit AsUser(std::string name = "", bool stepType = false)
        : typed(std::move(name)), nextType(stepType) {}
    std::string typed;
    bool nextType;
    QStringList boxes;

    // The chosen path; empty when the dialog was cancelled.
    std::string choose(const FileDialogRequest& request) {
        QTimer::singleShot(20, &alive, [this] { answer(); });
        try {
            return QtDialogs().chooseFile(request);
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), errc::kCancelled);
            return "";
        }
    }

  private:
    void answer() {
        // Polls again first: the answer may open the next window, whose loop runs meanwhile.
        QTimer::singleShot(20, &alive, [this] { answer(); });
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && (chosen || typed.empty())) {
            dialog->reject();
        } else if (dialog != nullptr) {
            if (nextType) {
                QTest::keyClick(dialog->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
            }
            // Typed, as selectFile leaves a focused name field alone.
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(typed));
            static_cast<QDialog*>(dialog)->accept();
            chosen = !dialog->isVisible();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const bool replace = box->text().contains("replace");
            if (!replace) {
                boxes.append(box->text());
            }
            box->button(replace ? QMessageBox::Yes : QMessageBox::Ok)->click();
        }
    }
    bool chosen = false;
    QObject alive;  // ends the polling with this
};

TEST(QtDialogs, MessageBoxHasTheIconTheLinesAndOnlyOk) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(std::tuple(box->icon(), box->text(), box->standardButtons()),
                  std::tuple(QMessageBox::Warning, QString("first line\nsecond line"),
                             QMessageBox::StandardButtons(QMessageBox::Ok)));
        box->button(QMessageBox::Ok)->click();
    });
    QtDialogs().message(MessageIcon::Exclamation, "first line\r\nsecond line");
    EXPECT_TRUE(seen);
}

// A name typed without an extension takes the chosen file type's, the default type's when
// none was picked; a cancel is the cancel error.
TEST(QtDialogs, FileDialogAddsTheChosenTypesExtensionOrReportsTheCancel) {
    TempDir dir;
    EXPECT_EQ(AsUser((dir / "export").string()).choose(csvSaveRequest("")),
              (dir / "export.csv").string());
    EXPECT_EQ(AsUser((dir / "road").string(), true).choose(imageFileRequest()),
              (dir / "road.svg").string());
    EXPECT_EQ(AsUser().choose(archiveOpenRequest()), "");
}

// `folder` and its files read-only while it lives, writable again after (so it can be removed).
struct ReadOnlyFolder {
    explicit ReadOnlyFolder(fs::path path) : folder(std::move(path)) { set(0444, 0555); }
    ~ReadOnlyFolder() { set(0644, 0755); }
    void set(int files, int self) const {
        for (const auto& entry : fs::directory_iterator(folder)) {
            fs::permissions(entry.path(), static_cast<fs::perms>(files));
        }
        fs::permissions(folder, static_cast<fs::perms>(self));
    }
    fs::path folder;
};

TEST(ReadOnlyFiles, OpenDialogsReturnThemAndSaveDialogsRefuseThem) {
    SKIP_AS_ROOT();
    TempDir dir;
    for (const char* name : {"day.traffic", "day.station", "day.csv"}) {
        writeFile(dir / name, "data");
    }
    const ReadOnlyFolder share(dir.path());
    for (const auto& [request, name, opens] :
         {std::tuple{archiveOpenRequest(), "day.traffic", true},
          {stationOpenRequest(""), "day.station", true},
          {stationSaveRequest(""), "day.station", false},
          {csvSaveRequest(""), "day.csv", false}}) {
        SCOPED_TRACE(request.title);
        AsUser user((dir / name).string());
        EXPECT_EQ(user.choose(request), opens ? (dir / name).string() : "");
        EXPECT_EQ(user.boxes.size(), opens ? 0 : 1) << user.boxes.join('|').toStdString();
        EXPECT_TRUE(opens || user.boxes.value(0).endsWith(
                                 "This file is write-protected. Choose another file."));
    }
}

using ReadOnlyDay = WindowTest;

// An installed program's folder holds no lists: they are read from beside the data, here a
// share nobody may write, and the log says so; with the lists in the program's folder the log is
// as it always was. Root ignores file modes: ctest runs this again as an unprivileged user.
TEST_F(ReadOnlyDay, ListsAreReadFromBesideTheDataInAFolderNobodyMayWrite) {
    const std::string counts = "Sta count=40\r\nRoad count=3\r\n";
    build();
    EXPECT_TRUE(workspace().log.logText().starts_with(counts));
    const fs::path share = dir / "share";
    fs::create_directories(share);
    fs::copy_file(archive, share / "may5.traffic");
    TestDay::writeLists(share);
    save(share / "may5.station");
    fs::create_directory(dir / "bin");
    reopen(dir / "bin");

    const ReadOnlyFolder readOnly(share);
    ASSERT_TRUE(geteuid() == 0 || access((share / "may5.traffic").c_str(), W_OK) != 0);
    c().Check1->setChecked(true);  // the member report goes to the output folder, not the share
    build(share / "may5.traffic");
    const std::string line = "No VURSta2Det.list beside the program: definition lists read from " +
                             share.string() + "\r\n";
    EXPECT_TRUE(workspace().log.logText().starts_with(line));
    EXPECT_TRUE(fs::exists(dir / "zipFileInfo.txt"));
    dialogs.clear();
    dialogs.answer((share / "may5.station").string());
    click(c().btnLoad);
    EXPECT_EQ(dialogs.onlyMessage().text, kLoadDoneMessage);
    EXPECT_EQ(c().lblDate->text(), "may5.station");
    EXPECT_TRUE(workspace().log.logText().ends_with(line + counts));
}

}  // namespace
}  // namespace quorvane::test
