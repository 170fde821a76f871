#include "ui/tab_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeySequence>
#include <QPointer>
#include <QTabBar>
#include <vector>

namespace quorvane {

namespace {

QString withoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

// One tab, as a child of its tab bar's interface.
class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    AccessibleTab(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    bool isValid() const override { return bar_ != nullptr && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(bar_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override {
        if (!isValid()) {
            return {};
        }
        switch (kind) {
            case QAccessible::Name:
                return withoutMnemonic(bar_->tabText(index_));
            case QAccessible::Accelerator:
                return QKeySequence::mnemonic(bar_->tabText(index_))
                    .toString(QKeySequence::NativeText);
            case QAccessible::Description:
                return bar_->tabToolTip(index_);
            case QAccessible::Help:
                return bar_->tabWhatsThis(index_);
            default:
                return {};
        }
    }

    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect tab = bar_->tabRect(index_);
        return {bar_->mapToGlobal(tab.topLeft()), tab.size()};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state = parent()->state();
        const bool current = index_ == bar_->currentIndex();
        state.selectable = true;
        state.focusable = true;
        state.selected = current;
        state.focused = current && bar_->hasFocus();
        state.invisible = state.invisible || !bar_->isTabVisible(index_);
        // What Qt leaves out: a tab that cannot be chosen is unavailable.
        state.disabled = state.disabled || !bar_->isTabEnabled(index_);
        return state;
    }

    QStringList actionNames() const override {
        return isValid() && bar_->isTabEnabled(index_) ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && bar_->isTabEnabled(index_)) {
            bar_->setCurrentIndex(index_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<QTabBar> bar_;
    int index_;
};

// The tab bar: its tabs first, then its child widgets (the scroll buttons), as in Qt's own.
class AccessibleTabBar : public QAccessibleWidget {
  public:
    explicit AccessibleTabBar(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~AccessibleTabBar() override {
        for (const QAccessible::Id id : tabs_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return bar()->count() + QAccessibleWidget::childCount(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0) {
            return nullptr;
        }
        if (index < bar()->count()) {
            return tab(index);
        }
        return QAccessibleWidget::child(index - bar()->count());
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int index = 0; index < static_cast<int>(tabs_.size()); ++index) {
            if (QAccessible::accessibleInterface(tabs_[index]) == child) {
                return index;
            }
        }
        const int widget = QAccessibleWidget::indexOfChild(child);
        return widget < 0 ? -1 : bar()->count() + widget;
    }

    QAccessibleInterface* focusChild() const override {
        const int current = bar()->currentIndex();
        return current < 0 ? nullptr : tab(current);
    }

    QString text(QAccessible::Text kind) const override {
        const int current = bar()->currentIndex();
        if (kind == QAccessible::Name && current >= 0) {
            return withoutMnemonic(bar()->tabText(current));
        }
        return QAccessibleWidget::text(kind);
    }

  private:
    QTabBar* bar() const { return static_cast<QTabBar*>(object()); }

    QAccessibleInterface* tab(int index) const {
        while (static_cast<int>(tabs_.size()) <= index) {
            auto* made = new AccessibleTab(bar(), static_cast<int>(tabs_.size()));
            tabs_.push_back(QAccessible::registerAccessibleInterface(made));
        }
        return QAccessible::accessibleInterface(tabs_[index]);
    }

    mutable std::vector<QAccessible::Id> tabs_;
};

QAccessibleInterface* tabBarFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QTabBar") && object != nullptr && object->isWidgetType()) {
        return new AccessibleTabBar(static_cast<QTabBar*>(object));
    }
    return nullptr;
}

}  // namespace

void installTabAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&tabBarFactory);
        return true;
    }();
    static_cast<void>(installed);
}

}  // namespace quorvane
