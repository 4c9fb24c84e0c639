#pragma once
// A printed page as a value: what the renderers drew on it, in twips from the top left corner of the
// sheet, in the order they drew it. The preview picture, the system printers and the PDF files are all
// made from such values, so a page looks the same wherever it goes.
#include <QLineF>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

namespace slp::print {

// A straight black line, square-capped, in a pen of `penPixels` device pixels (the renderers' DrawWidth:
// pixels of the printer or of the picture the page is shown on).
struct PageLine {
    QLineF line;
    int penPixels = 1;
    friend bool operator==(const PageLine&, const PageLine&) = default;
};

// A text on one line with its top left corner at `at`, in a face ("宋体", "黑体", "隶书"), a size in
// points and a weight.
struct PageText {
    QPointF at;
    QString text;
    QString face;
    float size = 9;
    bool bold = false;
    friend bool operator==(const PageText&, const PageText&) = default;
};

struct Page {
    QSizeF size;  // the sheet, twips
    std::vector<PageLine> lines;
    std::vector<PageText> texts;
    // The renderer ended the print job after this page (a job a page); printing a range as one job
    // goes on regardless.
    bool endsJob = false;

    bool empty() const { return lines.empty() && texts.empty(); }
    // The texts in drawing order, one entry each (for tests and checks).
    QStringList textList() const;
    // The first text equal to `text`, or nullptr.
    const PageText* find(const QString& text) const;
};

}  // namespace slp::print
