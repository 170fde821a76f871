// Opening a day without the file dialogs (named on the command line, dropped on the window),
// and the definition lists found beside the data when the program's folder has none.
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "definitions/station_file.h"
#include "ui/open_file.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

QString qtPath(const fs::path& path) {
    return QString::fromStdString(path.string());
}

class OpenFile : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        build();
        save(stationFile);
        window = std::make_unique<MainWindow>(dialogs, Environment{dir.path(), dir.path()});
        window->show();
        dialogs.clear();
    }

    // The build or load runs once the event loop gets to it.
    Message nextMessage() {
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }, 20000));
        const Message message = dialogs.onlyMessage();
        dialogs.clear();
        return message;
    }

    // A drag of `urls` entering the window, then their drop; true when the window took both.
    bool drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        dropped.ignore();
        QApplication::sendEvent(window.get(), &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    }

    // The archive was built with the options of the window as they stood, without a dialog.
    void expectBuilt(const Message& message, float occupancyOf101) {
        EXPECT_EQ(message, (Message{MessageIcon::Information, std::string(kBuildDoneMessage)}));
        EXPECT_TRUE(dialogs.requests.empty());
        EXPECT_EQ(c().txtZipName->text().toStdString(), archive.string());
        EXPECT_EQ(c().lblDate->text(), "may5.traffic");
        EXPECT_FLOAT_EQ(workspace().intervals->at(0, 1).occ, occupancyOf101);
        EXPECT_TRUE(c().SSTab1->isTabEnabled(kStationTab));
    }
    void expectLoaded(const Message& message) {
        EXPECT_EQ(message, (Message{MessageIcon::Information, std::string(kLoadDoneMessage)}));
        EXPECT_TRUE(dialogs.requests.empty());
        EXPECT_EQ(c().lblDate->text(), "saved.station");
        EXPECT_EQ(workspace().day->tables, readStationFile(stationFile));
    }

    fs::path stationFile = dir / "saved.station";
};

TEST_F(OpenFile, CommandLineBuildsAnArchiveAndLoadsAStationFile) {
    EXPECT_TRUE(commandLineFile({"quorvane"}).isEmpty());
    // A relative name is taken from the current folder.
    const QString before = QDir::currentPath();
    QDir::setCurrent(qtPath(dir / "traffic"));
    const QString relative = commandLineFile({"quorvane", "may5.traffic"});
    QDir::setCurrent(before);
    EXPECT_EQ(relative, qtPath(archive));

    c().optWorst->setChecked(true);
    openOnceRunning(*window, relative);
    expectBuilt(nextMessage(), 30.0f);  // worst case of 10 % and 30 %

    openOnceRunning(*window, commandLineFile({"quorvane", qtPath(stationFile)}));
    expectLoaded(nextMessage());
}

TEST_F(OpenFile, DropBuildsAnArchiveAndLoadsAStationFile) {
    writeFile(dir / "notes.txt", "not a day");
    // Files of other kinds and remote files are refused at the drag already.
    for (const QList<QUrl>& refused :
         {QList<QUrl>{QUrl::fromLocalFile(qtPath(dir / "notes.txt"))},
          QList<QUrl>{QUrl(QStringLiteral("https://example.org/may5.traffic"))}, QList<QUrl>{}}) {
        EXPECT_FALSE(drop(refused));
    }
    QTest::qWait(50);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(workspace().day, nullptr);

    EXPECT_TRUE(drop(
        {QUrl::fromLocalFile(qtPath(dir / "notes.txt")), QUrl::fromLocalFile(qtPath(archive))}));
    expectBuilt(nextMessage(), 20.0f);  // the average of 10 % and 30 %
    EXPECT_TRUE(drop({QUrl::fromLocalFile(qtPath(stationFile))}));
    expectLoaded(nextMessage());
}

// As a click on the greyed button would: a second build is not started inside the first.
TEST_F(OpenFile, FileOpenedWhileItsCommandRunsIsIgnored) {
    const auto other = dir / "june6.traffic";
    TestDay::writeArchive(other, 2);
    bool tried = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (!tried && !c().btnBuildStationData->isEnabled()) {
            tried = true;
            window->openFile(qtPath(other));
        }
    });
    during.start(0);
    window->openFile(qtPath(archive));
    during.stop();
    ASSERT_TRUE(tried);
    expectBuilt(dialogs.onlyMessage(), 20.0f);
}

// An installed program's folder holds no lists: they are read from beside the data, and the
// log says so; with the lists in the program's folder the log is as it always was.
TEST_F(WindowTest, ListsAreReadFromBesideTheDataWhenTheProgramsFolderHasNone) {
    build();
    EXPECT_TRUE(workspace().log.logText().starts_with("Sta count=40\r\nRoad count=3\r\n"));

    const fs::path share = dir / "traffic";
    TestDay::writeLists(share);
    save(share / "may5.station");
    fs::create_directory(dir / "bin");
    window = std::make_unique<MainWindow>(dialogs, Environment{dir / "bin", dir.path()});
    window->show();
    const std::string line = "No VURSta2Det.list beside the program: definition lists read from " +
                             share.string() + "\r\n";
    build();
    EXPECT_TRUE(workspace().log.logText().starts_with(line + "Sta count=40\r\nRoad count=3\r\n"));
    dialogs.answer((share / "may5.station").string());
    click(c().btnLoad);
    EXPECT_EQ(dialogs.messages.back().text, kLoadDoneMessage);
    EXPECT_TRUE(workspace().log.logText().ends_with(line + "Sta count=40\r\nRoad count=3\r\n"));
}

}  // namespace
}  // namespace quorvane::test
