// A day on a read-only share opens: the open dialogs of build and load return read-only files,
// only the save dialogs refuse them, and the build and load read a day from a folder nobody may
// write. File modes do not bind root: as root the cases that need them skip, and ctest runs
// them again as an unprivileged user (tests/ui/run_as_user.sh).
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <memory>

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

TEST(FileRequests, OnlySaveDialogsRefuseReadOnlyFiles) {
    for (const FileDialogRequest& request : {archiveOpenRequest(), stationOpenRequest("")}) {
        EXPECT_EQ(request.flags & kNoReadOnlyReturn, 0u) << request.title;
    }
    for (const FileDialogRequest& request :
         {stationSaveRequest(""), csvSaveRequest(""), imageFileRequest()}) {
        EXPECT_NE(request.flags & kNoReadOnlyReturn, 0u) << request.title;
    }
}

// `folder` and every file in it read-only while it lives, writable again after (so the
// temporary folder can be removed).
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(fs::path folder) : folder_(std::move(folder)) { set(0444, 0555); }
    ~ReadOnlyFolder() { set(0644, 0755); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  private:
    void set(int files, int folder) const {
        fs::permissions(folder_, static_cast<fs::perms>(folder));
        for (const auto& entry : fs::directory_iterator(folder_)) {
            fs::permissions(entry.path(), static_cast<fs::perms>(files));
        }
    }
    fs::path folder_;
};

// One file choice through the real dialogs, answered as a user would: the file dialog chooses
// `file` the first time it opens and is cancelled after that; Qt's question whether to replace
// an existing file is answered Yes; any other message box is recorded and closed.
struct Choice {
    std::string path;  // empty when the dialog was cancelled
    QStringList warnings;
};

Choice chooseAsUser(const FileDialogRequest& request, const fs::path& file) {
    struct State {
        bool done = false;
        bool chosen = false;
        QStringList warnings;
    };
    auto state = std::make_shared<State>();
    std::function<void()> poll = [state, &poll, file] {
        if (state->done) {
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        QTimer::singleShot(20, poll);  // before the answer, which may open the next window
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!state->chosen) {
                // Typed, as selectFile leaves a focused name field alone.
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                name->setText(QString::fromStdString(file.string()));
                static_cast<QDialog*>(dialog)->accept();
                state->chosen = !dialog->isVisible();
            } else {
                dialog->reject();
            }
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box->text().contains(QStringLiteral("replace"))) {
                box->button(QMessageBox::Yes)->click();
            } else {
                state->warnings.append(box->text());
                box->button(QMessageBox::Ok)->click();
            }
        }
    };
    QTimer::singleShot(20, poll);
    QtDialogs dialogs;
    Choice choice;
    try {
        choice.path = dialogs.chooseFile(request);
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errc::kCancelled);
    }
    state->done = true;
    choice.warnings = state->warnings;
    return choice;
}

TEST(ReadOnlyFiles, OpenDialogsReturnThemAndSaveDialogsRefuseThem) {
    SKIP_AS_ROOT();
    TempDir dir;
    for (const char* name : {"day.traffic", "day.station", "day.csv"}) {
        writeFile(dir / name, "data");
    }
    const ReadOnlyFolder share(dir.path());
    for (const auto& [request, name] : {std::pair{archiveOpenRequest(), "day.traffic"},
                                        {stationOpenRequest(""), "day.station"}}) {
        const Choice choice = chooseAsUser(request, dir / name);
        EXPECT_EQ(choice.path, (dir / name).string()) << request.title;
        EXPECT_TRUE(choice.warnings.isEmpty()) << choice.warnings.join('|').toStdString();
    }
    for (const auto& [request, name] :
         {std::pair{stationSaveRequest(""), "day.station"}, {csvSaveRequest(""), "day.csv"}}) {
        const Choice choice = chooseAsUser(request, dir / name);
        EXPECT_EQ(choice.path, "") << request.title;
        ASSERT_EQ(choice.warnings.size(), 1) << request.title;
        EXPECT_TRUE(
            choice.warnings[0].endsWith("This file is write-protected. Choose another file."))
            << choice.warnings[0].toStdString();
    }
}

using ReadOnlyDay = WindowTest;

// The program's folder has no lists: they too are read from the share.
TEST_F(ReadOnlyDay, BuildsAndLoadsFromAFolderNobodyMayWrite) {
    SKIP_AS_ROOT();
    const fs::path share = dir / "share";
    fs::create_directories(share);
    fs::copy_file(archive, share / "may5.traffic");
    TestDay::writeLists(share);
    build();
    save(share / "may5.station");
    fs::create_directory(dir / "bin");
    window = std::make_unique<MainWindow>(dialogs, Environment{dir / "bin", dir.path()});
    window->show();
    dialogs.clear();

    const ReadOnlyFolder readOnly(share);
    ASSERT_NE(access((share / "may5.traffic").c_str(), W_OK), 0);
    c().Check1->setChecked(true);  // the member report goes to the output folder, not the share
    build(share / "may5.traffic");
    dialogs.clear();
    dialogs.answer((share / "may5.station").string());
    click(c().btnLoad);
    EXPECT_EQ(dialogs.onlyMessage().text, kLoadDoneMessage);
    EXPECT_EQ(c().lblDate->text(), "may5.station");
}

}  // namespace
}  // namespace quorvane::test
