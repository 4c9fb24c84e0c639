#pragma once
// 打印机设置 of the preview's printer panel: the printer (the system's printers and "打印到PDF文件") and,
// for PDF files, their folder, paper size and orientation, and whether every print job gets a file of its
// own (otherwise one print is one file, named for the report, month and time).
#include <QDialog>

#include "print/pdf_print_choice.h"

class QCheckBox;
class QComboBox;
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
    QWidget* pdfFields_;
};

}  // namespace slp::print
