#include "ui/window_lists.h"

#include <QComboBox>
#include <QListWidget>
#include <QLocale>
#include <QSignalBlocker>
#include <QStringList>
#include <QTime>

#include "core/day.h"
#include "ui/main_controls.h"
#include "views/interval_table.h"

namespace quorvane {

namespace {

// The locale's long time format without its time-zone field: a time of day has no zone.
QString timeFormatWithSeconds() {
    const QString longFormat = QLocale::system().timeFormat(QLocale::LongFormat);
    QString format;
    bool quoted = false;
    for (const QChar ch : longFormat) {
        if (ch == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (!quoted && ch == QLatin1Char('t')) {
            continue;
        }
        format.append(ch);
    }
    return format.simplified();
}

}  // namespace

std::optional<int> selectedIndex(const QComboBox& combo) {
    const int index = combo.currentIndex();
    if (index < 0 || combo.itemText(index) != combo.currentText()) {
        return std::nullopt;
    }
    return index;
}

void clearToSelectOne(QComboBox& combo) {
    combo.clear();
    combo.setEditText(QString::fromLatin1(kSelectOne));
}

void fillIntervalList(QComboBox& combo) {
    combo.clear();
    for (const IntervalChoice& choice : kIntervalChoices) {
        combo.addItem(QString::fromLatin1(choice.text.data(), choice.text.size()));
    }
    combo.setCurrentIndex(0);
}

void fillSelectionLists(MainControls& controls, const Day& day) {
    QStringList stations;
    stations.reserve(day.stations.count());
    for (int i = 0; i < day.stations.count(); ++i) {
        stations.append(QString::number(day.stations.staNumByIndex(i)));
    }
    controls.cmbStaList->clear();
    controls.cmbStaList->addItems(stations);
    controls.cmbStaList->setCurrentIndex(0);

    QStringList roads;
    for (int i = 0; i < day.roads.count(); ++i) {
        roads.append(QString::fromStdString(day.roads.roadByIndex(i)));
    }
    {
        // The road choice runs once, below, on the new lists.
        const QSignalBlocker quiet(controls.cmbRoadList);
        controls.cmbRoadList->clear();
        controls.cmbRoadList->addItems(roads);
        controls.cmbRoadList->setCurrentIndex(0);
    }
    fillRoadStations(controls, day.roads, 0);
}

void fillRoadStations(MainControls& controls, const RoadList& roads, int road) {
    controls.lstN->clear();
    controls.lstSta->clear();
    if (road < 0 || road >= roads.count()) {
        return;
    }
    QStringList positions;
    QStringList numbers;
    const auto& staNums = roads.staList(road);
    for (std::size_t i = 0; i < staNums.size(); ++i) {
        positions.append(QString::number(i + 1));
        numbers.append(QString::number(staNums[i]));
    }
    controls.lstN->addItems(positions);
    controls.lstSta->addItems(numbers);
}

void fillTimeLists(MainControls& controls, const IntervalTable& intervals) {
    const QString format = timeFormatWithSeconds();
    const QLocale locale = QLocale::system();
    QStringList times;
    times.reserve(intervals.intervalCount);
    for (int k = 0; k < intervals.intervalCount; ++k) {
        times.append(locale.toString(QTime(0, 0).addSecs(intervals.startSeconds(k)), format));
    }
    for (QComboBox* list : {controls.cmbStartTime, controls.cmbEndTime}) {
        clearToSelectOne(*list);
        list->addItems(times);
    }
    controls.cmbStartTime->setCurrentIndex(0);
    controls.cmbEndTime->setCurrentIndex(intervals.intervalCount - 1);
}

QString fileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace quorvane
