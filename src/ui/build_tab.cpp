// The "Build Station Data" tab.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/control_factory.h"
#include "ui/main_controls.h"

namespace quorvane {

// Mnemonics: the tab titles own Alt+B, Alt+V and Alt+R; within a tab every letter is used
// once (only the controls of the visible tab answer their mnemonics).
QWidget* buildTab(MainControls& c) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabBuildStationData"));

    c.txtZipName = named<QLineEdit>("txtZipName");
    c.Label1 = captionFor("Label1", QStringLiteral("*.traffic &zip file"), c.txtZipName);
    c.btnBuildStationData = named<QPushButton>("btnBuildStationData",
                                               QStringLiteral("Load &File and Build Station Data"));
    c.btnShowlLog = named<QPushButton>("btnShowlLog", QStringLiteral("Show Lo&g"));
    // Always clickable: for a day without grades it says why there is nothing to show.
    c.btnDetectorHealth =
        named<QPushButton>("btnDetectorHealth", QStringLiteral("Detector &Health"));

    c.Frame1 = named<QGroupBox>("Frame1", QStringLiteral("Station occ computaton options"));
    c.optAvg = named<QRadioButton>("optAvg", QStringLiteral("&Average"));
    c.optWorst = named<QRadioButton>("optWorst", QStringLiteral("&Worst case"));
    auto* options = new QHBoxLayout(c.Frame1);
    options->addWidget(c.optAvg);
    options->addWidget(c.optWorst);
    options->addStretch();
    c.Check1 = named<QCheckBox>("Check1", QStringLiteral("Save zip file &info."));

    c.txtBinFile = named<QLineEdit>("txtBinFile");
    c.Label3 = captionFor("Label3", QStringLiteral("*.station bi&nary file"), c.txtBinFile);
    c.btnSave = named<QPushButton>("btnSave", QStringLiteral("&Save Station Data"));
    c.btnLoad = named<QPushButton>("btnLoad", QStringLiteral("&Load Station Data"));
    c.btnExit = named<QPushButton>("btnExit", QStringLiteral("E&xit"));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(c.Label1);
    layout->addWidget(c.txtZipName);
    auto* buildRow = new QHBoxLayout;
    buildRow->addWidget(c.btnBuildStationData);
    buildRow->addWidget(c.btnShowlLog);
    buildRow->addWidget(c.btnDetectorHealth);
    buildRow->addStretch();
    layout->addLayout(buildRow);
    auto* optionRow = new QHBoxLayout;
    optionRow->addWidget(c.Frame1);
    optionRow->addSpacing(12);
    optionRow->addWidget(c.Check1);
    optionRow->addStretch();
    layout->addLayout(optionRow);
    layout->addSpacing(12);
    layout->addWidget(c.Label3);
    layout->addWidget(c.txtBinFile);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(c.btnSave);
    fileRow->addWidget(c.btnLoad);
    fileRow->addStretch();
    fileRow->addWidget(c.btnExit);
    layout->addLayout(fileRow);
    layout->addStretch();

    chainTabOrder({c.txtZipName, c.btnBuildStationData, c.btnShowlLog, c.btnDetectorHealth,
                   c.optAvg, c.optWorst, c.Check1, c.txtBinFile, c.btnSave, c.btnLoad, c.btnExit});
    return page;
}

}  // namespace quorvane
