// A seeded random user: clicks, choices, typing, dialog answers and graph-window actions, some
// of them landing inside running builds, recomputations and fills. After every step the
// invariants a user relies on must hold. QUORVANE_SOAK_SEED and QUORVANE_SOAK_STEPS choose the
// run (QUORVANE_SOAK_SECONDS runs steps until that time is up); a failure prints the seed and
// the last steps, so that the run can be replayed.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iostream>
#include <random>

#include "charts/graph_window.h"
#include "soak_checks.h"
#include "soak_dialogs.h"
#include "support/test_day.h"
#include "support/test_files.h"
#include "ui/main_controls.h"
#include "ui/main_window.h"

namespace quorvane::test {
namespace {

namespace fs = std::filesystem;

uint64_t environmentNumber(const char* name, uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

template <class T>
T* pick(std::mt19937_64& random, const QList<T*>& items) {
    if (items.isEmpty()) {
        return nullptr;
    }
    return items[std::uniform_int_distribution<int>(0, items.size() - 1)(random)];
}

// A left-button drag as the window system delivers it.
void drag(QWidget* widget, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers) {
    QMouseEvent press(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(widget, &press);
    for (int step = 1; step <= 3; ++step) {
        QMouseEvent move(QEvent::MouseMove, from + (to - from) * step / 3, Qt::NoButton,
                         Qt::LeftButton, modifiers);
        QApplication::sendEvent(widget, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
    QApplication::sendEvent(widget, &release);
}

class Soak : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // One random step; its description goes to the step log.
    void step();
    std::string action(bool nested);
    std::string clickButton(bool nested);
    std::string chooseEntry();
    std::string typeText();
    std::string selectStations();
    std::string graphAction();
    std::string otherWindowAction();
    std::string dropFile();
    std::string typeInto(QWidget* window);
    // Presses a random button of the modal dialog in front, if any (the chart editor, a colour
    // dialog), so that no step waits for a user.
    void answerModal();
    // An action that runs when the events next run, inside whatever command lets them run
    // then; never behind a modal dialog, where no user can act.
    void scheduleNested(int milliseconds);
    void check();
    void fail(const std::vector<std::string>& problems);

    int roll(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); }

    MainControls& c() { return window->controls(); }

    uint64_t seed = environmentNumber("QUORVANE_SOAK_SEED", 20261207);
    std::mt19937_64 random{seed};
    TempDir dir;
    std::unique_ptr<SoakDialogs> dialogs;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<SoakChecks> checks;
    QTimer modalWatch;
    std::deque<std::string> steps;  // the latest steps, for the failure report
    int pending = 0;                // nested actions scheduled and not yet run
    int stepNumber = 0;
    const bool trace = environmentNumber("QUORVANE_SOAK_TRACE", 0) != 0;  // every step to stderr
};

void Soak::SetUp() {
    TestDay::writeLists(dir.path());
    dialogs = std::make_unique<SoakDialogs>(random, dir.path());
    const fs::path archive = dir / "may5.traffic";
    TestDay::writeArchive(archive);
    const fs::path doubled = dir / "may6.traffic";
    TestDay::writeArchive(doubled, 2);
    writeFile(dir / "notzip.traffic", "not a zip archive");
    writeFile(dir / "short.station", std::string(100, '\x02'));
    dialogs->archives = {archive, archive, doubled, dir / "notzip.traffic", dir / "gone.traffic"};
    dialogs->stationFiles = {dir / "short.station", archive};

    window = std::make_unique<MainWindow>(*dialogs, Environment{dir.path(), dir.path()});
    window->resize(720, 480);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    checks = std::make_unique<SoakChecks>(*window);
    QObject::connect(&modalWatch, &QTimer::timeout, [this] { answerModal(); });
    modalWatch.start(5);
}

void Soak::TearDown() {
    modalWatch.stop();
    closeGraphWindows();
    window.reset();
}

void Soak::answerModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == window.get()) {
        return;
    }
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (trace) {
        std::cerr << "  modal " << modal->metaObject()->className() << " visible "
                  << modal->isVisible() << std::endl;
    }
    // The chart editor's own buttons (Apply, Save image...) first, then it closes.
    if (modal->inherits("quorvane::ChartEditor") && roll(3) == 0) {
        if (QPushButton* button = pick(random, modal->findChildren<QPushButton*>())) {
            if (button->isEnabled() && button->isVisible()) {
                steps.push_back("  modal button " + button->text().toStdString());
                QTimer::singleShot(0, button, &QPushButton::click);
                return;
            }
        }
    }
    if (dialog != nullptr) {
        roll(2) == 0 ? dialog->accept() : dialog->reject();
    } else {
        modal->close();
    }
}

void Soak::scheduleNested(int milliseconds) {
    QTimer::singleShot(milliseconds, window.get(), [this] {
        const QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != window.get()) {
            scheduleNested(5);
            return;
        }
        --pending;
        steps.push_back("  inside: " + action(true));
    });
}

std::string Soak::clickButton(bool nested) {
    QList<QPushButton*> buttons;
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button != c().btnExit) {
            buttons.append(button);
        }
    }
    QPushButton* button = pick(random, buttons);
    for (int tab = 0; tab < c().SSTab1->count(); ++tab) {
        if (c().SSTab1->widget(tab)->isAncestorOf(button)) {
            if (!c().SSTab1->isTabEnabled(tab)) {
                return "tab of " + button->objectName().toStdString() + " unavailable";
            }
            c().SSTab1->setCurrentIndex(tab);
        }
    }
    if (!button->isEnabled()) {
        return button->objectName().toStdString() + " disabled";
    }
    // Now and then something else happens while this command lets events run.
    if (!nested && roll(4) == 0) {
        for (int n = 1 + roll(3); n > 0; --n) {
            ++pending;
            scheduleNested(roll(3));
        }
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return "click " + button->objectName().toStdString() + " (" + dialogs->lastAnswer + ")";
}

std::string Soak::chooseEntry() {
    QComboBox* list = pick(random, window->findChildren<QComboBox*>());
    if (list->count() == 0) {
        return "no entry in " + list->objectName().toStdString();
    }
    const int index = roll(list->count());
    list->setCurrentIndex(index);
    QMetaObject::invokeMethod(list, "activated", Q_ARG(int, index));
    return "choose " + list->objectName().toStdString() + " " + std::to_string(index);
}

std::string Soak::typeText() {
    QList<QComboBox*> editable;
    for (QComboBox* list : window->findChildren<QComboBox*>()) {
        if (list->isEditable()) {
            editable.append(list);
        }
    }
    QComboBox* list = pick(random, editable);
    constexpr const char* kTexts[] = {"12:00:00", "x", "", "101", "5 min", "North"};
    const QString typed = QString::fromLatin1(kTexts[roll(6)]);
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), typed);
    if (typed.isEmpty()) {
        list->lineEdit()->clear();
    }
    return "type \"" + typed.toStdString() + "\" into " + list->objectName().toStdString();
}

// Text typed into an editable box of `top`: a spin box (the vehicle length) or a line edit
// (a filter), with a number, a letter or nothing.
std::string Soak::typeInto(QWidget* top) {
    QList<QWidget*> boxes;
    for (QAbstractSpinBox* box : top->findChildren<QAbstractSpinBox*>()) {
        boxes.append(box);
    }
    for (QLineEdit* edit : top->findChildren<QLineEdit*>()) {
        if (!edit->isReadOnly() && qobject_cast<QComboBox*>(edit->parentWidget()) == nullptr &&
            qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) == nullptr) {
            boxes.append(edit);
        }
    }
    QWidget* box = pick(random, boxes);
    if (box == nullptr || !box->isVisible()) {
        return "nothing to type into";
    }
    constexpr const char* kTexts[] = {"7.5", "1", "40", "x", "14", ""};
    const QString typed = QString::fromLatin1(kTexts[roll(6)]);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Enter);
    return "type \"" + typed.toStdString() + "\" into " + box->objectName().toStdString();
}

// A day file dropped on the main window, as from a file manager.
std::string Soak::dropFile() {
    std::vector<fs::path> files = dialogs->archives;
    files.insert(files.end(), dialogs->stationFiles.begin(), dialogs->stationFiles.end());
    const fs::path file = files[static_cast<std::size_t>(roll(static_cast<int>(files.size())))];
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    const QPoint at = window->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &dropped);
    return "drop " + file.filename().string();
}

std::string Soak::selectStations() {
    QListWidget* list = roll(3) == 0 ? c().lstN : c().lstSta;
    if (list->count() == 0 || !list->isVisible()) {
        return "no station to select";
    }
    const int row = roll(list->count());
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
    return "select row " + std::to_string(row) + " of " + list->objectName().toStdString();
}

std::string Soak::graphAction() {
    QList<GraphWindow*> shown;
    for (GraphWindow* graph : graphWindows()) {
        if (graph->isVisible()) {
            shown.append(graph);
        }
    }
    GraphWindow* graph = pick(random, shown);
    if (graph == nullptr) {
        return "no graph window";
    }
    QWidget* canvas = nullptr;
    for (QWidget* child : graph->findChildren<QWidget*>()) {
        if (qstrcmp(child->metaObject()->className(), "QwtPlotCanvas") == 0) {
            canvas = child;
        }
    }
    const std::string name = graph->windowTitle().toStdString();
    if (canvas == nullptr || roll(8) == 0) {
        graph->close();
        return "close " + name;
    }
    const QPoint a(roll(canvas->width()), roll(canvas->height()));
    const QPoint b(roll(canvas->width()), roll(canvas->height()));
    switch (roll(5)) {
        case 0:
            drag(canvas, a, b, Qt::NoModifier);
            return "zoom " + name;
        case 1:
            drag(canvas, a, b, Qt::ControlModifier);
            return "pan " + name;
        case 2:
            QTest::keyClick(canvas, Qt::Key_Escape);
            return "reset " + name;
        case 3:
            QTest::mouseMove(canvas, a);
            return "hover " + name;
        default:
            QTest::mouseDClick(canvas, Qt::LeftButton, {}, a);  // the chart editor
            return "edit " + name;
    }
}

std::string Soak::otherWindowAction() {
    QList<QWidget*> others;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top != window.get() && qobject_cast<GraphWindow*>(top) == nullptr &&
            !top->isModal()) {
            others.append(top);
        }
    }
    QWidget* other = pick(random, others);
    if (other == nullptr) {
        return "no other window";
    }
    const std::string name = other->objectName().toStdString();
    switch (roll(5)) {
        case 0:
            if (QComboBox* list = pick(random, other->findChildren<QComboBox*>())) {
                const int index = roll(std::max(1, list->count()));
                list->setCurrentIndex(index);
                return "choose " + std::to_string(index) + " in " + name;
            }
            break;
        case 1:
            return typeInto(other) + " in " + name;
        case 2:
            if (QTableView* table = pick(random, other->findChildren<QTableView*>())) {
                QHeaderView* header = table->horizontalHeader();
                const int column = roll(std::max(1, header->count()));
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                  QPoint(header->sectionViewportPosition(column) + 4, 4));
                return "sort column " + std::to_string(column) + " in " + name;
            }
            break;
        default:
            break;
    }
    QPushButton* button = pick(random, other->findChildren<QPushButton*>());
    if (button == nullptr || roll(3) == 0) {
        other->close();
        return "close " + name;
    }
    if (button->isEnabled()) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    return "click " + button->text().toStdString() + " in " + name;
}

std::string Soak::action(bool nested) {
    checks->noteDataInForce();
    const int kind = roll(100);
    if (kind < 40) {
        return clickButton(nested);
    }
    if (kind < 55) {
        return chooseEntry();
    }
    if (kind < 58) {
        return typeText();
    }
    if (kind < 60) {
        return roll(2) == 0 ? typeInto(window.get()) : dropFile();
    }
    if (kind < 70) {
        return selectStations();
    }
    if (kind < 76) {
        QAbstractButton* option =
            pick(random, QList<QAbstractButton*>() << c().optAvg << c().optWorst << c().Check1);
        c().SSTab1->setCurrentIndex(kBuildTab);
        QTest::mouseClick(option, Qt::LeftButton);
        return "toggle " + option->objectName().toStdString();
    }
    if (kind < 94) {
        return graphAction();
    }
    return otherWindowAction();
}

void Soak::step() {
    ++stepNumber;
    // A user keeps a handful of graphs open, not hundreds; each one open repaints.
    const std::vector<GraphWindow*> graphs = graphWindows();
    if (graphs.size() > 8) {
        graphs.front()->close();
    }
    if (trace) {
        std::cerr << stepNumber << "..." << std::endl;
    }
    const std::string done = action(false);
    steps.push_back(std::to_string(stepNumber) + ": " + done);
    if (trace) {
        std::cerr << steps.back() << std::endl;
    }
    // Whatever was scheduled inside the step runs before the checks.
    while (pending > 0) {
        QTest::qWait(2);
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    while (steps.size() > 40) {
        steps.pop_front();
    }
}

void Soak::fail(const std::vector<std::string>& problems) {
    std::string report = "seed " + std::to_string(seed) + ", step " + std::to_string(stepNumber) +
                         " (replay with QUORVANE_SOAK_SEED=" + std::to_string(seed) + "):\n";
    for (const std::string& problem : problems) {
        report += "  problem: " + problem + "\n";
    }
    report += "last steps:\n";
    for (const std::string& s : steps) {
        report += "  " + s + "\n";
    }
    ADD_FAILURE() << report;
}

void Soak::check() {
    std::vector<std::string> problems;
    for (auto found : {checks->dayMatchesItsTable(), checks->listsShowTheDay(),
                       checks->buttonsAreEnabled(), checks->graphsShowTheirTables()}) {
        problems.insert(problems.end(), found.begin(), found.end());
    }
    if (!problems.empty()) {
        fail(problems);
    }
}

TEST_F(Soak, RandomUseKeepsTheWindowConsistent) {
    const uint64_t stepCount = environmentNumber("QUORVANE_SOAK_STEPS", 300);
    const auto seconds = std::chrono::seconds(environmentNumber("QUORVANE_SOAK_SECONDS", 0));
    const auto start = std::chrono::steady_clock::now();
    const auto more = [&] {
        return seconds.count() > 0 ? std::chrono::steady_clock::now() - start < seconds
                                   : static_cast<uint64_t>(stepNumber) < stepCount;
    };
    while (more() && !HasFailure()) {
        step();
        check();
    }
    std::cout << "soak: seed " << seed << ", " << stepNumber << " steps, " << dialogs->messages
              << " messages\n";

    // The program closes through Exit and writes its log.
    c().SSTab1->setCurrentIndex(kBuildTab);
    QTest::mouseClick(c().btnExit, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(fs::exists(dir / "Log.txt"));
}

}  // namespace
}  // namespace quorvane::test
