#pragma once
// 打印机设置 of the preview's printer panel: the printer (the system's printers and "打印到PDF文件") and,
// for PDF files, their folder, paper size and orientation.
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
    QWidget* pdfFields_;
};

}  // namespace slp::print
