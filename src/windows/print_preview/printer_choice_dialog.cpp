#include "windows/print_preview/printer_choice_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "basic/error.h"
#include "basic/prompts.h"
#include "print/no_printer.h"
#include "print/printer_choice.h"

using namespace Qt::StringLiterals;

namespace slp::print {

PrinterChoiceDialog::PrinterChoiceDialog(const QStringList& choices, const QString& chosen,
                                         const PdfPrintSetup& setup, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(u"打印机设置"_s);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    printer_ = new QComboBox(this);
    printer_->addItems(choices);
    printer_->setCurrentText(chosen);
    top->addRow(u"打印机:"_s, printer_);
    layout->addLayout(top);

    pdfFields_ = new QWidget(this);
    auto* form = new QFormLayout(pdfFields_);
    form->setContentsMargins(0, 0, 0, 0);
    auto* folderRow = new QHBoxLayout;
    folder_ = new QLineEdit(setup.folder, pdfFields_);
    auto* browse = new QPushButton(u"浏览..."_s, pdfFields_);
    folderRow->addWidget(folder_);
    folderRow->addWidget(browse);
    form->addRow(u"PDF文件夹:"_s, folderRow);
    paper_ = new QComboBox(pdfFields_);
    paper_->setEditable(true);
    paper_->addItems({u"A4"_s, u"A3"_s, u"A5"_s, u"B4"_s, u"B5"_s, u"Letter"_s, u"Legal"_s});
    paper_->setCurrentText(paperNameOf(setup.paper));
    form->addRow(u"纸张:"_s, paper_);
    landscape_ = new QCheckBox(u"横向"_s, pdfFields_);
    landscape_->setChecked(setup.orientation == QPageLayout::Landscape);
    form->addRow(QString(), landscape_);
    margin_ = new QDoubleSpinBox(pdfFields_);
    margin_->setObjectName(u"pdfMargin"_s);
    margin_->setRange(0, kMaxMarginMm);
    margin_->setDecimals(1);
    margin_->setSingleStep(0.5);
    margin_->setSuffix(u" 毫米"_s);
    margin_->setValue(setup.marginMm);
    margin_->setToolTip(u"打印机不能打印到纸边：报表从纸边向内这么远处开始，四边相同"_s);
    form->addRow(u"页边距:"_s, margin_);
    // What it does, in the clerk's words: the windows send a page a print job, the payment table a
    // department.
    filePerJob_ = new QCheckBox(u"每页一个文件（工资发放表每个部门一个文件）"_s, pdfFields_);
    filePerJob_->setObjectName(u"filePerJob"_s);
    filePerJob_->setToolTip(
        u"选中：工资表、工资条和汇总表每页一个PDF文件，工资发放表每个部门一个文件，个人发放联一次一个文件；"
        u"不选：每次打印一个PDF文件，以报表名、工作年月和打印时间命名"_s);
    filePerJob_->setChecked(setup.filePerJob);
    form->addRow(QString(), filePerJob_);
    layout->addWidget(pdfFields_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, u"选择PDF文件夹"_s, folder_->text());
        if (!dir.isEmpty()) folder_->setText(dir);
    });
    connect(printer_, &QComboBox::currentTextChanged, this, [this] { choiceChanged(); });
    choiceChanged();
}

void PrinterChoiceDialog::choiceChanged() {
    pdfFields_->setEnabled(printer_->currentText() == pdfPrinterName());
}

QString PrinterChoiceDialog::choice() const {
    return printer_->currentText();
}

PdfPrintSetup PrinterChoiceDialog::setup() const {
    PdfPrintSetup s;
    s.folder = folder_->text().trimmed();
    if (s.folder.isEmpty()) s.folder = defaultPdfFolder();
    if (const auto paper = paperNamed(paper_->currentText())) s.paper = *paper;
    s.orientation = landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    s.filePerJob = filePerJob_->isChecked();
    s.marginMm = margin_->value();
    return s;
}

bool askPrinterChoice(settings::Store& store, Prompts& prompts, QWidget* parent) {
    PrinterChoiceDialog dialog(printerChoices(), chosenPrinter(store), loadPdfPrintSetup(store), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    try {
        // The window holds no printer between prints: the choice is checked by opening it and kept.
        ChosenPrinter holder(std::make_unique<NoInstalledPrinter>());
        applyPrinterChoice(store, holder, dialog.choice(), dialog.setup());
    } catch (const Error& e) {
        prompts.messageBox(e.description(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    return true;
}

QString printerSetupCaption() {
    return u"打印机设置…"_s;
}

}  // namespace slp::print
