#pragma once
// The print target behind every printed page: it keeps what the renderers draw as a Page value, measuring
// text with the process's font metrics at the resolution of the device the page is made for. The
// printers, the PDF writer and the preview picture take the pages it records.
#include <array>
#include <functional>
#include <memory>

#include "print/page.h"
#include "print/print_target.h"

namespace slp::print {

class MeasuredFont;

// The sheet a recorder draws on and what it tells the renderers about the printer.
struct Sheet {
    TargetKind kind = TargetKind::Printer;
    QSizeF size{11906, 16838};      // the page, twips
    float printableHeight = 16838;  // what Height() answers
    float paperWidth = 11906;       // the printer's paper and printable widths
    float printableWidth = 11906;
    int dpi = 1440;  // the resolution texts are measured at
};

class PageRecorder : public BasicPrintTarget {
  public:
    explicit PageRecorder(Sheet sheet = {});
    ~PageRecorder() override;

    const Sheet& sheet() const { return sheet_; }
    // A new sheet for the pages to come; the page under way keeps the size it had.
    void setSheet(const Sheet& sheet);

    // The page drawn so far.
    const Page& page() const { return page_; }
    // Hands the page over and starts a blank one; the cursor returns to the top left corner.
    Page takePage();
    // Drops the page drawn so far.
    void clearPage();

    // What EndDoc does; without it, EndDoc only marks the page as the end of its job.
    void onEndDoc(std::function<void()> action) { onEndDoc_ = std::move(action); }

    void SetFontSize(float points) override;
    void SetFontName(const QString& face) override;
    void SetFontBold(bool bold) override;
    float TextWidth(const QString& text) override;
    float TextHeight(const QString& text) override;
    void Line(float x1, float y1, float x2, float y2) override;
    float Height() const override { return sheet_.printableHeight; }
    void EndDoc() override;
    TargetKind Kind() const override { return sheet_.kind; }
    float PrinterPaperWidth() const override { return sheet_.paperWidth; }
    float PrinterPrintableWidth() const override { return sheet_.printableWidth; }

  protected:
    bool faceAvailable(const QString& face) const override;
    void drawText(float x, float y, const QString& text) override;

  private:
    MeasuredFont& font();

    Sheet sheet_;
    Page page_;
    std::shared_ptr<MeasuredFont> font_;  // of the face, size and weight in force
    // The fonts last in force: a table switches between a plain and a bold font on every row.
    struct Recent {
        QString face;
        float size = 0;
        bool bold = false;
        int dpi = 0;
        std::shared_ptr<MeasuredFont> font;
    };
    std::array<Recent, 4> recent_;
    size_t nextRecent_ = 0;
    std::function<void()> onEndDoc_;
};

}  // namespace slp::print
