#include "charts/chart_editor.h"

#include <qwt_plot.h>
#include <qwt_scale_div.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "base/dialogs.h"
#include "base/error.h"
#include "charts/chart.h"
#include "charts/chart_impl.h"
#include "charts/chart_render.h"

namespace quorvane {

namespace {

constexpr std::array<const char*, kChartAxisCount> kAxisNames{"Left axis", "Right axis",
                                                              "Bottom axis"};
constexpr std::array<const char*, 6> kMarkerNames{"None",     "Square",  "Circle",
                                                  "Triangle", "Diamond", "Cross"};

bool isGridKind(SeriesKind kind) {
    return kind == SeriesKind::ColorGrid || kind == SeriesKind::Contour;
}

// A time axis is edited in hours, the others in their own values.
double shown(const AxisSettings& axis, double value) {
    return axis.timeOfDay ? value * 24 : value;
}
double stored(const AxisSettings& axis, double value) {
    return axis.timeOfDay ? value / 24 : value;
}

}  // namespace

ChartEditor::ChartEditor(Chart& chart, QWidget* parent) : QDialog(parent), chart_(chart) {
    setWindowTitle(tr("Chart editor"));
    for (int i = 0; i < chart.seriesCount(); ++i) {
        styles_.push_back(chart.seriesStyle(i));
        grids_.push_back(isGridKind(chart.seriesKind(i)) ? chart.gridView(i) : GridStyle{});
    }

    auto* tabs = new QTabWidget(this);
    tabs->addTab(chartPage(), tr("Chart"));
    tabs->addTab(axesPage(), tr("Axes"));
    tabs->addTab(seriesPage(), tr("Series"));

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
    QPushButton* save = buttons->addButton(tr("Save image..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("saveImageButton"));
    save->setVisible(chart.dialogs() != nullptr);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { apply(); });
    connect(save, &QPushButton::clicked, this, [this] {
        apply();
        saveImageInteractively(chart_);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    if (!styles_.empty()) {
        selectSeries(0);
    }
}

QWidget* ChartEditor::chartPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    title_ = new QPlainTextEdit(chart_.titleLines().join(QLatin1Char('\n')));
    title_->setObjectName(QStringLiteral("titleEdit"));
    title_->setMaximumHeight(80);
    legend_ = new QCheckBox(tr("Show legend"));
    legend_->setObjectName(QStringLiteral("legendCheck"));
    legend_->setChecked(chart_.look().legendVisible);
    form->addRow(tr("Title (one line per row)"), title_);
    form->addRow(legend_);
    return page;
}

QWidget* ChartEditor::axesPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (int i = 0; i < kChartAxisCount; ++i) {
        const AxisSettings& settings = chart_.axis(static_cast<ChartAxis>(i));
        const QwtScaleDiv& div = chart_.plot()->axisScaleDiv(qwtAxis(static_cast<ChartAxis>(i)));
        auto* box = new QGroupBox(tr(kAxisNames[static_cast<std::size_t>(i)]));
        auto* form = new QFormLayout(box);
        AxisFields& fields = axes_[static_cast<std::size_t>(i)];
        const QString prefix = QStringLiteral("axis%1").arg(i);
        fields.title = new QLineEdit(settings.title);
        fields.title->setObjectName(prefix + QStringLiteral("Title"));
        fields.automatic = new QCheckBox(tr("Automatic range"));
        fields.automatic->setObjectName(prefix + QStringLiteral("Automatic"));
        fields.automatic->setChecked(settings.automatic);
        fields.min = new QDoubleSpinBox;
        fields.max = new QDoubleSpinBox;
        fields.min->setObjectName(prefix + QStringLiteral("Min"));
        fields.max->setObjectName(prefix + QStringLiteral("Max"));
        for (QDoubleSpinBox* spin : {fields.min, fields.max}) {
            spin->setRange(-1e9, 1e9);
            spin->setDecimals(settings.timeOfDay ? 4 : 2);
            spin->setSuffix(settings.timeOfDay ? tr(" h") : QString());
            spin->setEnabled(!settings.automatic);
        }
        fields.min->setValue(shown(settings, settings.automatic ? div.lowerBound() : settings.min));
        fields.max->setValue(shown(settings, settings.automatic ? div.upperBound() : settings.max));
        connect(fields.automatic, &QCheckBox::toggled, this, [fields](bool automatic) {
            fields.min->setEnabled(!automatic);
            fields.max->setEnabled(!automatic);
        });
        form->addRow(tr("Title"), fields.title);
        form->addRow(fields.automatic);
        form->addRow(tr("Minimum"), fields.min);
        form->addRow(tr("Maximum"), fields.max);
        layout->addWidget(box);
    }
    return page;
}

QWidget* ChartEditor::seriesPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    series_ = new QComboBox;
    series_->setObjectName(QStringLiteral("seriesCombo"));
    for (std::size_t i = 0; i < styles_.size(); ++i) {
        const QString title = styles_[i].title;
        series_->addItem(title.isEmpty() ? tr("Series %1").arg(i) : title);
    }
    seriesColor_ = new QPushButton;
    seriesColor_->setObjectName(QStringLiteral("seriesColorButton"));
    visible_ = new QCheckBox(tr("Visible"));
    visible_->setObjectName(QStringLiteral("visibleCheck"));
    lineWidth_ = new QSpinBox;
    lineWidth_->setObjectName(QStringLiteral("lineWidthSpin"));
    lineWidth_->setRange(0, 10);
    marker_ = new QComboBox;
    marker_->setObjectName(QStringLiteral("markerCombo"));
    for (const char* name : kMarkerNames) {
        marker_->addItem(tr(name));
    }
    markerSize_ = new QSpinBox;
    markerSize_->setObjectName(QStringLiteral("markerSizeSpin"));
    markerSize_->setRange(1, 20);
    startColor_ = new QPushButton;
    startColor_->setObjectName(QStringLiteral("startColorButton"));
    endColor_ = new QPushButton;
    endColor_->setObjectName(QStringLiteral("endColorButton"));
    levels_ = new QSpinBox;
    levels_->setObjectName(QStringLiteral("levelsSpin"));
    levels_->setRange(1, 100);

    form->addRow(tr("Series"), series_);
    form->addRow(tr("Colour"), seriesColor_);
    form->addRow(visible_);
    form->addRow(tr("Line width"), lineWidth_);
    form->addRow(tr("Marker"), marker_);
    form->addRow(tr("Marker size"), markerSize_);
    form->addRow(tr("Lowest value colour"), startColor_);
    form->addRow(tr("Highest value colour"), endColor_);
    form->addRow(tr("Contour levels"), levels_);

    connect(series_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { selectSeries(index); });
    const auto pick = [this](QPushButton* button, auto setter) {
        connect(button, &QPushButton::clicked, this, [this, button, setter] {
            const QColor chosen = QColorDialog::getColor(button->palette().button().color(), this);
            if (chosen.isValid()) {
                (this->*setter)(chosen);
            }
        });
    };
    pick(seriesColor_, &ChartEditor::setSeriesColor);
    pick(startColor_, &ChartEditor::setStartColor);
    pick(endColor_, &ChartEditor::setEndColor);
    return page;
}

void ChartEditor::paintColorButton(QPushButton* button, const QColor& color) {
    button->setText(color.name());
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, color);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
}

void ChartEditor::selectSeries(int series) {
    if (series < 0 || series >= static_cast<int>(styles_.size())) {
        return;
    }
    storeSeriesFields();
    current_ = series;
    const QSignalBlocker quiet(series_);
    series_->setCurrentIndex(series);
    loadSeriesFields();
}

void ChartEditor::storeSeriesFields() {
    if (current_ < 0) {
        return;
    }
    SeriesStyle& style = styles_[static_cast<std::size_t>(current_)];
    style.visible = visible_->isChecked();
    style.lineWidth = lineWidth_->value();
    style.marker = static_cast<Marker>(marker_->currentIndex());
    style.markerHalfWidth = markerSize_->value();
    style.markerHalfHeight = markerSize_->value();
    grids_[static_cast<std::size_t>(current_)].numLevels = levels_->value();
}

void ChartEditor::loadSeriesFields() {
    const SeriesStyle& style = styles_[static_cast<std::size_t>(current_)];
    const GridStyle& grid = grids_[static_cast<std::size_t>(current_)];
    const SeriesKind kind = chart_.seriesKind(current_);
    const bool gridKind = isGridKind(kind);
    paintColorButton(seriesColor_, style.color);
    visible_->setChecked(style.visible);
    lineWidth_->setValue(style.lineWidth);
    marker_->setCurrentIndex(static_cast<int>(style.marker));
    markerSize_->setValue(style.markerHalfWidth);
    paintColorButton(startColor_, grid.startColor);
    paintColorButton(endColor_, grid.endColor);
    levels_->setValue(grid.numLevels);
    seriesColor_->setEnabled(!gridKind);
    lineWidth_->setEnabled(!gridKind);
    marker_->setEnabled(!gridKind);
    markerSize_->setEnabled(!gridKind);
    startColor_->setEnabled(gridKind);
    endColor_->setEnabled(gridKind);
    levels_->setEnabled(kind == SeriesKind::Contour);
}

void ChartEditor::setSeriesColor(const QColor& color) {
    if (current_ >= 0) {
        styles_[static_cast<std::size_t>(current_)].color = color;
        paintColorButton(seriesColor_, color);
    }
}

void ChartEditor::setStartColor(const QColor& color) {
    if (current_ >= 0) {
        grids_[static_cast<std::size_t>(current_)].startColor = color;
        paintColorButton(startColor_, color);
    }
}

void ChartEditor::setEndColor(const QColor& color) {
    if (current_ >= 0) {
        grids_[static_cast<std::size_t>(current_)].endColor = color;
        paintColorButton(endColor_, color);
    }
}

void ChartEditor::apply() {
    chart_.resetZoom();
    storeSeriesFields();
    const QString title = title_->toPlainText();
    chart_.setTitleLines(title.isEmpty() ? QStringList() : title.split(QLatin1Char('\n')));
    ChartLook look = chart_.look();
    look.legendVisible = legend_->isChecked();
    chart_.setLook(look);
    for (int i = 0; i < kChartAxisCount; ++i) {
        const auto which = static_cast<ChartAxis>(i);
        const AxisFields& fields = axes_[static_cast<std::size_t>(i)];
        AxisSettings settings = chart_.axis(which);
        settings.title = fields.title->text();
        settings.automatic = fields.automatic->isChecked();
        if (!settings.automatic) {
            settings.min = stored(settings, fields.min->value());
            settings.max = stored(settings, fields.max->value());
        }
        chart_.setAxis(which, settings);
    }
    for (int i = 0; i < static_cast<int>(styles_.size()); ++i) {
        chart_.setSeriesStyle(i, styles_[static_cast<std::size_t>(i)]);
        if (isGridKind(chart_.seriesKind(i))) {
            chart_.setGridView(i, grids_[static_cast<std::size_t>(i)]);
        }
    }
    chart_.replot();
}

void showChartMenu(Chart& chart, QPoint globalPosition) {
    QMenu menu(&chart);
    menu.addAction(QObject::tr("Edit chart..."), &chart, [&chart] { chart.openEditor(); });
    QAction* reset =
        menu.addAction(QObject::tr("Reset zoom"), &chart, [&chart] { chart.resetZoom(); });
    reset->setEnabled(chart.isZoomed());
    if (chart.dialogs() != nullptr) {
        menu.addAction(QObject::tr("Save image..."), &chart,
                       [&chart] { saveImageInteractively(chart); });
    }
    menu.exec(globalPosition);
}

FileDialogRequest imageFileRequest() {
    FileDialogRequest request;
    request.save = true;
    request.filter = "PNG image (*.png)|*.png|SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf";
    request.filterIndex = 1;
    request.defaultExt = "png";
    request.flags = kFlagsSave;
    request.title = "Save image";
    request.proposedName = "chart.png";
    return request;
}

void saveImageInteractively(Chart& chart) {
    Dialogs* dialogs = chart.dialogs();
    if (dialogs == nullptr) {
        return;
    }
    try {
        const std::string path = dialogs->chooseFile(imageFileRequest());
        saveChartImage(chart, path, chart.size());
    } catch (const Error& error) {
        if (error.number() != errc::kCancelled) {
            dialogs->message(MessageIcon::Critical, error.description());
        }
    }
}

}  // namespace quorvane
