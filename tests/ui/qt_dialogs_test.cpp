// The Qt dialogs: message boxes and file dialogs as the commands ask for them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "base/error.h"
#include "charts/chart_editor.h"
#include "support/test_files.h"
#include "ui/file_requests.h"
#include "ui/qt_dialogs.h"

namespace quorvane::test {
namespace {

// Runs `answer` on the modal dialog once it is open.
template <class Dialog, class Answer>
void whenOpen(Answer answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

TEST(QtDialogs, MessageBoxHasTheIconTheLinesAndOnlyOk) {
    QtDialogs dialogs;
    bool seen = false;
    whenOpen<QMessageBox>([&](QMessageBox* box) {
        seen = true;
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->text(), "first line\nsecond line");
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.message(MessageIcon::Exclamation, "first line\r\nsecond line");
    EXPECT_TRUE(seen);
}

// Cancelled: the cancel error. A name typed without an extension takes the chosen file type's,
// the default type's when none was picked.
TEST(QtDialogs, FileDialogAddsTheChosenTypesExtensionOrReportsTheCancel) {
    QtDialogs dialogs;
    whenOpen<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Select a *.traffic file");
        EXPECT_EQ(dialog->selectedNameFilter(), "*.traffic files (*.traffic)");
        dialog->reject();
    });
    const Error error = errorOf([&] { dialogs.chooseFile(archiveOpenRequest()); });
    EXPECT_EQ(std::pair(error.number(), error.description()),
              std::pair(32755, std::string("Cancel was selected.")));

    TempDir dir;
    const auto answer = [&](const char* name, bool pickSvg) {
        whenOpen<QFileDialog>([&dir, name, pickSvg](QFileDialog* dialog) {
            if (pickSvg) {  // from PNG to SVG, as the user picks it
                QTest::keyClick(dialog->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
            }
            dialog->selectFile(QString::fromStdString((dir / name).string()));
            static_cast<QDialog*>(dialog)->accept();
        });
    };
    answer("export", false);
    EXPECT_EQ(dialogs.chooseFile(csvSaveRequest("")), (dir / "export.csv").string());
    answer("road", true);
    EXPECT_EQ(dialogs.chooseFile(imageFileRequest()), (dir / "road.svg").string());
}

}  // namespace
}  // namespace quorvane::test
