#pragma once
// What the preview tests share: grids of a given shape, a recording picture, a driver over a settings
// store in a temporary folder, scripted prompts, a fixed clock and a PDF spool printer.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <vector>

#include "app/print_preview/preview_canvas.h"
#include "app/print_preview/print_preview_driver.h"
#include "basic/clock.h"
#include "basic/scripted_prompts.h"
#include "data/host_context.h"
#include "data/wage_grid.h"
#include "print/pdf_spool_printer.h"
#include "recording_print_target.h"
#include "settings/store.h"

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

using slp::print::PageSetting;
using slp::print::PrintOption;

namespace preview_test {

using namespace Qt::StringLiterals;

// A grid of `dataRows` data rows and a totals row under one caption row, `cols` columns of `width`
// twips. Caption c reads "项<c>", cell (r, c) "r<r>c<c>", the totals row "t<c>". Alignment code 0.
inline slp::data::WageGrid makeGrid(int dataRows, int cols, int width) {
    slp::data::WageGrid grid(dataRows + 2, cols);
    for (int c = 0; c < cols; ++c) {
        grid.setColWidth(c, width);
        grid.setColAlignment(c, 0);
        grid.setText(0, c, u"项"_s + QString::number(c));
        for (int r = 1; r <= dataRows; ++r) grid.setText(r, c, u"r%1c%2"_s.arg(r).arg(c));
        grid.setText(dataRows + 1, c, u"t"_s + QString::number(c));
    }
    return grid;
}
// Five columns of 1000 twips: fits A4 (11906 - 800).
inline slp::data::WageGrid narrowGrid(int dataRows) {
    return makeGrid(dataRows, 5, 1000);
}
// Thirty-one columns of 960 twips: too wide for A4, printed as wrapped slips.
inline slp::data::WageGrid wideGrid(int dataRows) {
    return makeGrid(dataRows, 31, 960);
}

// The preview picture as a recording target, made afresh at every resize like the image.
class RecordingCanvas : public slp::print::PreviewCanvas {
  public:
    RecordingCanvas() { make(16838, 11906, 11906); }
    void resize(float width, float height, float paperWidth, float printableWidth) override {
        ++resizes;
        lastWidth = width;
        make(height, paperWidth, printableWidth);
    }
    void clear() override {
        ++clears;
        target_->clear();
        target_->SetCurrentX(0);
        target_->SetCurrentY(0);
    }
    slp::print::PrintTarget& target() override { return *target_; }
    slp::print::RecordingPrintTarget& recording() { return *target_; }
    // The fixed metrics of the recording target: a line of 9 points is 180 twips.
    float heightOfO() const override { return 180; }

    int clears = 0;
    int resizes = 0;
    float lastWidth = 0;

  private:
    void make(float height, float paperWidth, float printableWidth) {
        slp::print::RecordingPrintTarget::Setup setup;
        setup.kind = slp::print::TargetKind::Picture;
        setup.height = height;
        setup.paperWidth = paperWidth;
        setup.printableWidth = printableWidth;
        target_ = std::make_unique<slp::print::RecordingPrintTarget>(setup);
    }
    std::unique_ptr<slp::print::RecordingPrintTarget> target_;
};

struct Fixture {
    QTemporaryDir dir;
    slp::settings::Store store{dir.path() + u"/settings"_s};
    slp::FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 30))};
    slp::ScriptedPrompts prompts;
    slp::HostContext host;
    slp::print::PdfSpoolPrinter printer{dir.path() + u"/spool"_s};
    RecordingCanvas canvas;
    slp::print::PrintPreviewDriver driver{{store, prompts, clock, host}, printer, &canvas};

    Fixture() {
        // The layouts measured on the whole sheet; the printer's margins have tests of their own.
        printer.setMarginMm(0);
        host.unitCode = u"0101"_s;
        host.unitName = u"朔岚机械厂"_s;
        host.payDate = u"2000-04-25"_s;
        host.workYear = u"2000"_s;
        host.workMonth = u"4"_s;
    }

    // Hands the grid over and loads the window.
    void open(const slp::data::WageGrid& grid, int16_t slipMode, const QString& title = u"工资签收联"_s) {
        slp::print::PrintPreviewRequest r;
        r.grid = &grid;
        r.title = title;
        r.leftText = u"单位名称:"_s + host.unitName;
        r.rightText = u"发薪日期:00-04"_s;
        r.slipMode = slipMode;
        driver.setRequest(r);
        driver.open();
    }

    // Settings as stored: "汇总表" & kind & "设置" under 0101GZGL, kind & "打印设置" under Sl_PAYPRN.
    QString layoutSetting(const QString& kind, const QString& key) const {
        return store.find(u"0101GZGL"_s, u"汇总表"_s + kind + u"设置"_s, key).value_or(u"<none>"_s);
    }
    QString originSetting(const QString& kind, const QString& key) const {
        return store.find(u"Sl_PAYPRN"_s, kind + u"打印设置"_s, key).value_or(u"<none>"_s);
    }
    void setLayoutSetting(const QString& kind, const QString& key, const QString& value) {
        store.write(u"0101GZGL"_s, u"汇总表"_s + kind + u"设置"_s, key, value);
    }
    void setOriginSetting(const QString& kind, const QString& key, const QString& value) {
        store.write(u"Sl_PAYPRN"_s, kind + u"打印设置"_s, key, value);
    }

    QStringList spooled() const {
        return QDir(dir.path() + u"/spool"_s).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    }
    QString spoolPath(const QString& name) const { return dir.path() + u"/spool/"_s + name; }

    // The texts drawn on the picture since its last clearing.
    QStringList drawn() { return canvas.recording().printedTexts(); }
    int inputsAsked() const {
        int n = 0;
        for (const auto& a : prompts.asked) n += a.kind == slp::ScriptedPrompts::Asked::Input;
        return n;
    }
};

// The text of a PDF through pdftotext, or a null string when the tool is not installed.
inline QString pdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty()) return QString();
    QProcess p;
    p.start(tool, {u"-layout"_s, path, u"-"_s});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page count of a PDF through pdfinfo, or -1 when the tool is not installed.
inline int pdfPages(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(u"pdfinfo"_s);
    if (tool.isEmpty()) return -1;
    QProcess p;
    p.start(tool, {path});
    p.waitForFinished(60000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(u"Pages:"_s)) return line.mid(6).trimmed().toInt();
    }
    return 0;
}

}  // namespace preview_test
