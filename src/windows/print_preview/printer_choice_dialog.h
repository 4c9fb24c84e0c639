#pragma once
// 打印机设置 of the preview's printer panel: the printer (the system's printers and "打印到PDF文件") and,
// for PDF files, their folder, paper size and orientation, and whether every print job gets a file of its
// own (otherwise one print is one file, named for the report, month and time).
#include <QDialog>

#include "print/pdf_print_choice.h"

namespace slp {
class Prompts;
}
namespace slp::settings {
class Store;
}

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

namespace slp::print {

class PrinterChoiceDialog : public QDialog {
  public:
    PrinterChoiceDialog(const QStringList& choices, const QString& chosen, const PdfPrintSetup& setup,
                        QWidget* parent = nullptr);
    QString choice() const;
    PdfPrintSetup setup() const;

  private:
    void choiceChanged();

    QComboBox* printer_;
    QLineEdit* folder_;
    QComboBox* paper_;
    QCheckBox* landscape_;
    QCheckBox* filePerJob_;
    QDoubleSpinBox* margin_;
    QWidget* pdfFields_;
};

// The printer panel of a window that opens its printer afresh for every print (the payment table, the
// strips, positioned printing): the dialog on the remembered choice; on OK the chosen printer is opened
// to check it and the choice and the PDF setup are remembered. Returns false when cancelled or refused
// (the reason told).
bool askPrinterChoice(settings::Store& store, Prompts& prompts, QWidget* parent);

// The caption of the menu entry that opens it.
QString printerSetupCaption();

}  // namespace slp::print
