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

TEST(QtDialogs, CancelThrowsTheCancelError) {
    QtDialogs dialogs;
    whenOpen<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Select a *.traffic file");
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->selectedNameFilter(), "*.traffic files (*.traffic)");
        dialog->reject();
    });
    const Error error = errorOf([&] { dialogs.chooseFile(archiveOpenRequest()); });
    EXPECT_EQ(error.number(), 32755);
    EXPECT_EQ(error.description(), "Cancel was selected.");
}

TEST(QtDialogs, SaveAddsTheDefaultExtension) {
    TempDir dir;
    QtDialogs dialogs;
    whenOpen<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList({"All files (*)", "*.csv files (*.csv)"}));
        dialog->selectFile(QString::fromStdString((dir / "export").string()));
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::string chosen = dialogs.chooseFile(csvSaveRequest(""));
    EXPECT_EQ(chosen, (dir / "export.csv").string());
}

// A name typed without an extension takes the file type the user picked, not the default.
TEST(QtDialogs, SaveTakesTheExtensionOfTheChosenFileType) {
    TempDir dir;
    QtDialogs dialogs;
    whenOpen<QFileDialog>([&](QFileDialog* dialog) {
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down);  // from PNG to SVG, as the user picks it
        EXPECT_EQ(dialog->selectedNameFilter(), "SVG drawing (*.svg)");
        dialog->selectFile(QString::fromStdString((dir / "road").string()));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(dialogs.chooseFile(imageFileRequest()), (dir / "road.svg").string());
}

}  // namespace
}  // namespace quorvane::test
