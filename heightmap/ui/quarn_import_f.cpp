#include "quarn_import_f.h"

#include <QGridLayout>
#include <QHeaderView>
#include <iterator>

#include "binary_io.h"
#include "busy_cursor.h"
#include "error_report.h"
#include "file_dialog.h"
#include "import_preview.h"
#include "message_box.h"
#include "qt_colour.h"

namespace quarn {

namespace {

constexpr int kViewSide = 320;  // the previews' boxes on screen

QLabel* NewView(QWidget* parent) {
    auto* view = new QLabel(parent);
    view->setFixedSize(kViewSide, kViewSide);
    view->setAlignment(Qt::AlignCenter);
    view->setFrameShape(QFrame::StyledPanel);
    return view;
}

std::string ReadTextFile(const std::string& fileName) {
    const auto in = OpenBinaryInput(fileName);
    return {std::istreambuf_iterator<char>(*in), std::istreambuf_iterator<char>()};
}

}  // namespace

TfrmImport::TfrmImport(const RgbImage& image, QWidget* parent)
    : QDialog(parent), m_reduced(ReducedCopy(image, kPreviewSide)) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import map image"));

    ImageView = NewView(this);
    MapView = NewView(this);
    showPicture(*ImageView, PictureOf(m_reduced));

    BandTable = new QTableWidget(0, 3, this);
    BandTable->setHorizontalHeaderLabels({"Colour", "Share", "Height"});
    BandTable->verticalHeader()->hide();
    // Rows of the text's height: up to 16 bands show with little scrolling.
    BandTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    BandTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BandTable->setSelectionMode(QAbstractItemView::NoSelection);
    BandTable->horizontalHeader()->setStretchLastSection(true);

    BandCount = new QComboBox(this);
    BandCount->addItem(QStringLiteral("Automatic"), 0);
    for (int bands = 2; bands <= kMaxBands; ++bands)
        BandCount->addItem(QString::number(bands), bands);
    auto* bandCountLabel = new QLabel(QStringLiteral("&Bands:"), this);
    bandCountLabel->setBuddy(BandCount);
    LegendButton = new QPushButton(QStringLiteral("Load &legend..."), this);
    RemoveLines = new QCheckBox(QStringLiteral("&Remove lines"), this);
    RemoveLines->setChecked(true);
    RefusalText = new QLabel(this);
    RefusalText->setWordWrap(true);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(ImageView, 0, 0, 1, 2);
    grid->addWidget(MapView, 0, 2, 1, 2);
    grid->addWidget(BandTable, 1, 0, 5, 2);
    grid->addWidget(bandCountLabel, 1, 2);
    grid->addWidget(BandCount, 1, 3);
    grid->addWidget(LegendButton, 2, 2, 1, 2);
    grid->addWidget(RemoveLines, 3, 2, 1, 2);
    grid->addWidget(RefusalText, 4, 2, 1, 2);
    grid->setRowStretch(4, 1);
    grid->addWidget(Buttons, 5, 2, 1, 2, Qt::AlignBottom);

    connect(BandCount, &QComboBox::currentIndexChanged, this, Guarded([this] { UpdatePreview(); }));
    connect(RemoveLines, &QCheckBox::toggled, this, Guarded([this] { UpdatePreview(); }));
    connect(LegendButton, &QPushButton::clicked, this, Guarded([this] { LoadLegend(); }));
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdatePreview();
}

CleaningOptions TfrmImport::options() const {
    CleaningOptions result;
    for (const LegendEntry& entry : m_legend)
        result.legendColours.push_back(entry.colour);
    result.bands = BandCount->currentData().toInt();
    result.linework = RemoveLines->isChecked() ? Linework::Remove : Linework::Keep;
    return result;
}

CleaningOptions TfrmImport::finalOptions() const {
    CleaningOptions result = options();
    if (m_legend.empty() && !m_foundBands.empty()) {
        result.legendColours = m_foundBands;
        result.bands = 0;
    }
    return result;
}

void TfrmImport::LoadLegend() {
    const auto chosen =
        RunOpenDialog({"Load legend", "Legend files|*.txt|All files|*", "", "", false});
    if (!chosen)
        return;
    LegendReading reading = ParseLegend(ReadTextFile(*chosen));
    if (!reading.refusal.empty()) {
        ShowErrorBox(reading.refusal);
        return;
    }
    m_legend = std::move(reading.entries);
    BandCount->setEnabled(false);
    UpdatePreview();
}

void TfrmImport::UpdatePreview() {
    const BusyCursor busy;
    const Cleaning cleaning = CleanMap(m_reduced, options());
    RefusalText->setText(QString::fromStdString(cleaning.refusal));
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(cleaning.map.has_value());
    m_foundBands.clear();
    if (cleaning.map) {
        if (m_legend.empty())
            for (std::size_t k = 0; k < cleaning.map->palette.size(); ++k)
                if (k != cleaning.map->lineBand)
                    m_foundBands.push_back(cleaning.map->palette[k]);
        showPicture(*MapView, PictureOf(*cleaning.map));
        showBands(*cleaning.map);
    } else {
        MapView->clear();
        BandTable->setRowCount(0);
    }
}

void TfrmImport::showBands(const BandMap& map) {
    BandTable->setRowCount(static_cast<int>(map.palette.size()));
    for (std::size_t k = 0; k < map.palette.size(); ++k) {
        const int row = static_cast<int>(k);
        auto* swatch = new QTableWidgetItem;
        swatch->setBackground(QColor(RgbOf(map.palette[k])));
        BandTable->setItem(row, 0, swatch);
        BandTable->setItem(row, 1,
                           new QTableWidgetItem(QString::asprintf("%.1f %%", 100 * map.shares[k])));
        const QString height = k < m_legend.size()
                                   ? QString::fromStdString(ElevationText(m_legend[k].elevation))
                                   : QString();
        BandTable->setItem(row, 2, new QTableWidgetItem(height));
    }
}

void TfrmImport::showPicture(QLabel& view, const QImage& picture) {
    // Scaled to the box without blending, so each band keeps its one colour.
    view.setPixmap(QPixmap::fromImage(picture.scaled(view.size(), Qt::KeepAspectRatio)));
}

}  // namespace quarn
