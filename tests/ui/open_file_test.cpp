// Opening a day without the file dialogs: named on the command line, dropped on the window.
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "ui/open_file.h"
#include "ui/window_command_line.h"
#include "window_fixture.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

class OpenFile : public WindowTest {
  protected:
    static QString qtPath(const fs::path& path) { return QString::fromStdString(path.string()); }
    static QUrl urlOf(const fs::path& path) { return QUrl::fromLocalFile(qtPath(path)); }
    void SetUp() override {
        WindowTest::SetUp();
        build();
        save(stationFile);
        reopen(dir.path());
    }
    // The build or load runs once the event loop gets to it, without a file dialog: the
    // archive with the window's options as they stand (101's occupancy tells the mode).
    void expectOpened(const char* date, float occupancyOf101) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }, 20000));
        EXPECT_EQ(dialogs.onlyMessage().text,
                  date == std::string("saved.station") ? kLoadDoneMessage : kBuildDoneMessage);
        EXPECT_TRUE(dialogs.requests.empty());
        EXPECT_EQ(c().lblDate->text(), date);
        EXPECT_FLOAT_EQ(workspace().intervals->at(0, 1).occ, occupancyOf101);
        dialogs.clear();
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

    fs::path stationFile = dir / "saved.station";
};

TEST_F(OpenFile, CommandLineBuildsAnArchiveAndLoadsAStationFile) {
    EXPECT_TRUE(readWindowCommandLine({"quorvane"}).file.isEmpty());
    const QString before = QDir::currentPath();
    QDir::setCurrent(qtPath(dir / "traffic"));
    const QString relative = readWindowCommandLine({"quorvane", "may5.traffic"}).file;
    QDir::setCurrent(before);
    EXPECT_EQ(relative.toStdString(), archive.string());  // taken from the current folder

    c().optWorst->setChecked(true);
    openOnceRunning(*window, relative);
    expectOpened("may5.traffic", 30.0f);  // worst case of 10 % and 30 %
    openOnceRunning(*window, readWindowCommandLine({"quorvane", qtPath(stationFile)}).file);
    expectOpened("saved.station", 20.0f);
}

// --help and --version win over anything else, Qt's own options still among them ("-reverse"
// is no -r -e -v); the line is never ended by the parser itself.
TEST(WindowCommandLine, AnswersHelpAndVersionAndRefusesOtherShapes) {
    using Request = WindowCommandLine::Request;
    const std::pair<QStringList, Request> cases[] = {
        {{"quorvane", "--help"}, Request::PrintUsage},
        {{"quorvane", "-platform", "offscreen", "-h", "--bogus"}, Request::PrintUsage},
        {{"quorvane", "--version"}, Request::PrintVersion},
        {{"quorvane", "-v", "a.traffic", "b.traffic"}, Request::PrintVersion},
        {{"quorvane", "-reverse"}, Request::UsageError},
        {{"quorvane", "--bogus", "a.traffic"}, Request::UsageError},
        {{"quorvane", "a.traffic", "b.traffic"}, Request::UsageError},
        {{"quorvane", "--", "-v.traffic"}, Request::OpenWindow},
    };
    for (const auto& [arguments, request] : cases) {
        const WindowCommandLine line = readWindowCommandLine(arguments);
        EXPECT_EQ(line.request, request) << arguments.join(' ').toStdString();
        EXPECT_EQ(line.problem.isEmpty(), request != Request::UsageError);
    }
    EXPECT_TRUE(
        readWindowCommandLine({"quorvane", "--", "-v.traffic"}).file.endsWith("/-v.traffic"));
}

TEST_F(OpenFile, DropBuildsAnArchiveAndLoadsAStationFile) {
    writeFile(dir / "notes.txt", "not a day");
    // Files of other kinds and remote files are refused at the drag already.
    EXPECT_FALSE(drop({urlOf(dir / "notes.txt")}));
    EXPECT_FALSE(drop({QUrl(QStringLiteral("https://example.org/may5.traffic"))}));
    QTest::qWait(50);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(workspace().day, nullptr);

    EXPECT_TRUE(drop({urlOf(dir / "notes.txt"), urlOf(archive)}));
    expectOpened("may5.traffic", 20.0f);  // the average of 10 % and 30 %
    EXPECT_TRUE(drop({urlOf(stationFile)}));
    expectOpened("saved.station", 20.0f);
}

// As a click on the greyed button would: a second build is not started inside the first.
TEST_F(OpenFile, FileOpenedWhileItsCommandRunsIsIgnored) {
    const auto other = dir / "june6.traffic";
    TestDay::writeArchive(other, 2);
    ASSERT_TRUE(meanwhile([&] { return !c().btnBuildStationData->isEnabled(); },
                          [&] { window->openFile(qtPath(other)); },
                          [&] { window->openFile(qtPath(archive)); }));
    expectOpened("may5.traffic", 20.0f);
}

}  // namespace
}  // namespace quorvane::test
