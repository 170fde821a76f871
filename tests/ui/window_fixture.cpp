#include "window_fixture.h"

#include <QCoreApplication>
#include <QEvent>

#include "charts/graph_window.h"

namespace quorvane::test {

void WindowTest::SetUp() {
    TestDay::writeLists(dir.path());
    std::filesystem::create_directory(dir / "traffic");
    TestDay::writeArchive(archive);
    reopen(dir.path());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::TearDown() {
    closeGraphWindows();
    flushDeletes();
    window.reset();
    EXPECT_TRUE(dialogs.allAnswered()) << "a scripted answer was not used";
}

void WindowTest::reopen(const std::filesystem::path& programFolder) {
    window = std::make_unique<MainWindow>(dialogs, Environment{programFolder, dir.path()});
    window->resize(720, 480);
    window->show();
    dialogs.clear();
}

void WindowTest::click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    for (int tab = 0; tab < c().SSTab1->count(); ++tab) {
        if (c().SSTab1->widget(tab)->isAncestorOf(button)) {
            ASSERT_TRUE(c().SSTab1->isTabEnabled(tab)) << "tab " << tab << " is not available";
            c().SSTab1->setCurrentIndex(tab);
        }
    }
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

void WindowTest::build(const std::filesystem::path& archivePath) {
    dialogs.answer(archivePath.string());
    const std::size_t before = dialogs.messages.size();
    click(c().btnBuildStationData);
    ASSERT_TRUE(dialogs.messages.size() == before + 1 &&
                dialogs.messages.back().text == kBuildDoneMessage);
}

void WindowTest::buildAt(int interval) {
    build();
    choose(c().cmbPlotInterval, interval);
    click(c().btnReCompute);
    dialogs.clear();
}

void WindowTest::save(const std::filesystem::path& path) {
    dialogs.answer(path.string());
    click(c().btnSave);
    ASSERT_TRUE(!dialogs.messages.empty() && dialogs.messages.back().text == kSavingDoneMessage);
}

void WindowTest::choose(QComboBox* list, int index) {
    ASSERT_LT(index, list->count());
    list->setCurrentIndex(index);
    QMetaObject::invokeMethod(list, "activated", Q_ARG(int, index));
}

bool WindowTest::meanwhile(const std::function<bool()>& when, const std::function<void()>& action,
                           const std::function<void()>& run) {
    bool ran = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!ran && when()) {
            ran = true;
            action();
        }
    });
    timer.start(0);
    run();
    return ran;
}

}  // namespace quorvane::test
