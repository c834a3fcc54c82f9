// The generator control panel "Generator Control Panel": a fixed MDI child that holds what
// the generator needs.
//
// Sixteen swatches (Label1..Label16, Tags 0..15) show the map's palette colours, white until
// a map is opened; beside each, a height field (MaskEdit1..MaskEdit16, same Tags). Below them
// the Water, Lawn and Snow levels (MaskEdit17..19, Tags 100..300), Mapwidth, Mapheight and
// Interval (MaskEdit20..22, Tags 400..600), the output choice RGOutput and BitBtn1, which
// runs the generate command (Enter anywhere on the panel presses it). Other windows find the
// swatches and height fields by kind and Tag in the registered panel form. The panel cannot
// be closed, minimised or maximised; it stands at the screen's right edge with "3DF" chosen.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <functional>

namespace quarn {

class TfrmGenCPanel : public QMdiSubWindow {
  public:
    TfrmGenCPanel();
    ~TfrmGenCPanel() override;

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QLabel *Label9, *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16;
    QLabel *Label17, *Label18, *Label19, *Label20, *Label21, *Label22;
    QLineEdit *MaskEdit1, *MaskEdit2, *MaskEdit3, *MaskEdit4, *MaskEdit5, *MaskEdit6;
    QLineEdit *MaskEdit7, *MaskEdit8, *MaskEdit9, *MaskEdit10, *MaskEdit11, *MaskEdit12;
    QLineEdit *MaskEdit13, *MaskEdit14, *MaskEdit15, *MaskEdit16;
    QLineEdit* MaskEdit17;  // Water
    QLineEdit* MaskEdit18;  // Lawn
    QLineEdit* MaskEdit19;  // Snow
    QLineEdit* MaskEdit20;  // Mapwidth
    QLineEdit* MaskEdit21;  // Mapheight
    QLineEdit* MaskEdit22;  // Interval
    QGroupBox* RGOutput;
    std::array<QRadioButton*, 4> RGOutputItems;  // "3DF", "ASC", "RAW", "PLG"
    QPushButton* BitBtn1;

    /// The widget that holds the controls (the panel's client area).
    QWidget* form() const { return m_form; }
    /// Text of the selected output item ("3DF", "ASC", "RAW" or "PLG"; empty when none is).
    QString selectedOutputText() const;

    /// What BitBtn1 runs (the main window's generate command).
    static void SetGenerateHandler(std::function<void()> handler);
    void BitBtn1Click();
    /// Places the panel at the screen's right edge and selects "3DF".
    void FormCreate();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* addSwatch(int tag, int left, int top);
    QLineEdit* addField(int tag, int left, int top, const char* mask);
    QLabel* addCaption(int tag, int left, int top, const char* text, int nextLeft);
    void addOutputGroup();

    QWidget* m_form;
};

extern TfrmGenCPanel* frmGenCPanel;

/// Creates the panel inside the main window's MDI area and registers its form.
void CreateGenCPanel();

}  // namespace quarn
