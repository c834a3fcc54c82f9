// The "Import map image" dialog: the image beside its cleaned map, the bands found (swatch,
// share of the pixels, height from the legend), the number of bands (automatic, or 2 to 16),
// "Load legend...", "Remove lines" (checked) and OK / Cancel.
//
// Every change of the options cleans the preview again, under the busy cursor, from a copy of
// the image reduced to at most kPreviewSide pixels a side, so that a large image stays quick
// to try; whoever runs the dialog cleans the full image with finalOptions() after OK. A legend,
// once loaded, gives the bands and their heights, and the band count no longer applies. A
// preview the cleaning refuses shows the refusal in place of the bands, and OK is disabled.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <vector>

#include "map_import.h"

namespace quarn {

class TfrmImport : public QDialog {
  public:
    static constexpr int kPreviewSide = 600;

    /// A dialog for image, which must outlive it.
    explicit TfrmImport(const RgbImage& image, QWidget* parent = nullptr);

    QLabel* ImageView;
    QLabel* MapView;
    QTableWidget* BandTable;  // swatch, share, height: one row per band
    QComboBox* BandCount;     // "Automatic", then 2 to 16
    QPushButton* LegendButton;
    QCheckBox* RemoveLines;
    QLabel* RefusalText;
    QDialogButtonBox* Buttons;

    /// The cleaning that the controls set.
    CleaningOptions options() const;
    /// The cleaning of the full image after OK: options(), the bands found in the preview
    /// taken as they were shown, so that the map saved has the colours the user saw.
    CleaningOptions finalOptions() const;
    /// The legend loaded, or none.
    const std::vector<LegendEntry>& legend() const { return m_legend; }

    /// Asks for a legend file and reads it; a refusal is an error box, and the legend before
    /// stays.
    void LoadLegend();
    /// Cleans the reduced copy with options() and shows it with its bands.
    void UpdatePreview();

  private:
    void showBands(const BandMap& map);
    void showPicture(QLabel& view, const QImage& picture);

    RgbImage m_reduced;
    std::vector<LegendEntry> m_legend;
    std::vector<Colour> m_foundBands;  // by the last preview without a legend, linework aside
};

}  // namespace quarn
