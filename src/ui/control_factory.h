#pragma once

// How the main window's controls are made: shared by the files that build its tabs.

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <initializer_list>
#include <utility>

namespace quorvane {

struct MainControls;

// Every control carries its control name as object name and accessible description. The
// accessible name is left to Qt, which derives it from the live text.
template <class W, class... Args>
W* named(const char* name, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleDescription(QString::fromLatin1(name));
    return widget;
}

inline QComboBox* editableList(const char* name) {
    auto* combo = named<QComboBox>(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);  // typed text is no new entry
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(14);
    combo->setMaxVisibleItems(20);
    return combo;
}

inline QLabel* captionFor(const char* name, const QString& text, QWidget* buddy) {
    auto* label = named<QLabel>(name, text);
    label->setBuddy(buddy);
    return label;
}

inline QLabel* note(const char* name, const QString& text) {
    auto* label = named<QLabel>(name, text);
    label->setWordWrap(true);
    return label;
}

inline void chainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

// The four tabs, each made with its controls (stored in `c`), laid out and in tab order.
QWidget* buildTab(MainControls& c);
QWidget* stationTab(MainControls& c);
QWidget* roadTab(MainControls& c);
QWidget* manyDaysTab(MainControls& c);

}  // namespace quorvane
