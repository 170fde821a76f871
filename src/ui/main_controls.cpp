#include "ui/main_controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/version.h"
#include "ui/control_factory.h"

namespace quorvane {

MainControls buildMainControls(QWidget* window) {
    MainControls c;
    c.SSTab1 = named<QTabWidget>("SSTab1");
    c.SSTab1->addTab(buildTab(c), QStringLiteral("&Build Station Data"));
    c.SSTab1->addTab(stationTab(c), QStringLiteral("&View Station Data"));
    c.SSTab1->addTab(roadTab(c), QStringLiteral("View &Road Data"));
    c.SSTab1->addTab(manyDaysTab(c), QStringLiteral("Man&y Days"));

    c.Label2 = named<QLabel>(
        "Label2", QStringLiteral("Quorvane V") +
                      QString::fromLatin1(kVersion.data(), static_cast<int>(kVersion.size())));
    QFont title = c.Label2->font();
    title.setBold(true);
    c.Label2->setFont(title);
    c.Label4 = named<QLabel>("Label4", QStringLiteral("Built with Qt, Qwt, libzip and libdeflate"));
    c.Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* footer = new QHBoxLayout;
    footer->addWidget(c.Label2);
    footer->addSpacing(16);
    footer->addWidget(c.Label4, 1);

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(c.SSTab1, 1);
    layout->addLayout(footer);
    return c;
}

}  // namespace quorvane
