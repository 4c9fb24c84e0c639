// 打印机设置 of the preview's printer panel: the printer choices with 打印到PDF文件, and the PDF folder,
// paper and orientation, which are offered only for PDF files.
#include "windows/print_preview/printer_choice_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "ui/translations.h"

using namespace Qt::StringLiterals;
using slp::print::PdfPrintSetup;
using slp::print::PrinterChoiceDialog;

namespace {

TEST(PrinterChoiceDialog, OffersThePrintersAndThePdfSetup) {
    const PdfPrintSetup setup{u"/tmp/工资打印"_s, QPageSize(QPageSize::A3), QPageLayout::Landscape};
    PrinterChoiceDialog dialog({u"HP"_s, u"打印到PDF文件"_s}, u"打印到PDF文件"_s, setup);
    EXPECT_EQ(dialog.windowTitle(), u"打印机设置"_s);
    EXPECT_EQ(dialog.choice(), u"打印到PDF文件"_s);
    EXPECT_EQ(dialog.setup().folder, setup.folder);
    EXPECT_EQ(dialog.setup().paper.id(), QPageSize::A3);
    EXPECT_EQ(dialog.setup().orientation, QPageLayout::Landscape);
    auto combos = dialog.findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 2);
    QComboBox* printer = combos[0];
    QComboBox* paper = combos[1];
    QLineEdit* folder = dialog.findChildren<QLineEdit*>().front() == paper->lineEdit()
                            ? dialog.findChildren<QLineEdit*>().back()
                            : dialog.findChildren<QLineEdit*>().front();
    EXPECT_TRUE(paper->isEnabled());
    paper->setCurrentText(u"letter"_s);
    dialog.findChild<QCheckBox*>()->setChecked(false);
    folder->setText(u"  "_s);
    const PdfPrintSetup changed = dialog.setup();
    EXPECT_EQ(changed.paper.id(), QPageSize::Letter);
    EXPECT_EQ(changed.orientation, QPageLayout::Portrait);
    EXPECT_EQ(changed.folder, slp::print::defaultPdfFolder());  // an empty folder is the default one
    // One file a print unless the clerk asks for a file a job.
    EXPECT_FALSE(changed.filePerJob);
    // Named for what it does: a file a page (a department for the payment table).
    EXPECT_EQ(dialog.findChild<QCheckBox*>(u"filePerJob"_s)->text(),
              u"每页一个文件（工资发放表每个部门一个文件）"_s);
    dialog.findChild<QCheckBox*>(u"filePerJob"_s)->setChecked(true);
    EXPECT_TRUE(dialog.setup().filePerJob);
    // The margins of the printable area: 5 mm unless set, kept within what the box allows.
    auto* margin = dialog.findChild<QDoubleSpinBox*>(u"pdfMargin"_s);
    ASSERT_NE(margin, nullptr);
    EXPECT_DOUBLE_EQ(dialog.setup().marginMm, 5.0);
    margin->setValue(12.5);
    EXPECT_DOUBLE_EQ(dialog.setup().marginMm, 12.5);
    margin->setValue(99);
    EXPECT_DOUBLE_EQ(dialog.setup().marginMm, slp::print::kMaxMarginMm);
    paper->setCurrentText(u"no paper"_s);
    EXPECT_EQ(dialog.setup().paper.id(), QPageSize::A4);  // a name not known: A4
    printer->setCurrentText(u"HP"_s);
    EXPECT_EQ(dialog.choice(), u"HP"_s);
    EXPECT_FALSE(paper->isEnabledTo(&dialog));  // a system printer has its own dialog for paper
    if (const QByteArray shots = qgetenv("SLP_SCREENSHOT_DIR"); !shots.isEmpty()) {
        printer->setCurrentText(u"打印到PDF文件"_s);
        dialog.show();
        dialog.grab().save(QString::fromLocal8Bit(shots) + u"/printer-choice.png"_s);
        slp::ui::installQtChineseTranslations();
        QMessageBox box(QMessageBox::Question, u"工资"_s, u"是否打印?"_s, QMessageBox::Yes | QMessageBox::No);
        box.show();
        box.grab().save(QString::fromLocal8Bit(shots) + u"/message-box.png"_s);
        QFileDialog files(nullptr, u"选择PDF文件夹"_s);
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.show();
        files.grab().save(QString::fromLocal8Bit(shots) + u"/file-dialog.png"_s);
    }
}

}  // namespace
