#pragma once
// The drawing surface of the page renderers: the printer or the preview picture. Every length is in
// twips (1440 per inch) with the origin at the top left corner of the page, in single precision.
// The renderers use exactly these operations and nothing else.
#include <QString>

namespace slp::print {

enum class TargetKind { Printer, Picture };

class PrintTarget {
  public:
    virtual ~PrintTarget() = default;

    // The text cursor: the next Print starts there.
    virtual float CurrentX() const = 0;
    virtual float CurrentY() const = 0;
    virtual void SetCurrentX(float x) = 0;
    virtual void SetCurrentY(float y) = 0;

    // Font size in points.
    virtual float FontSize() const = 0;
    virtual void SetFontSize(float points) = 0;
    // Font face ("宋体", "黑体", "隶书"). A face the target cannot set throws slp::Error (number
    // fontRefusedError) whose description names the face; the previous face stays in force.
    virtual QString FontName() const = 0;
    virtual void SetFontName(const QString& face) = 0;
    virtual bool FontBold() const = 0;
    virtual void SetFontBold(bool bold) = 0;

    // Pen width of Line, in device pixels of the printer or the picture (at least 1).
    virtual int DrawWidth() const = 0;
    virtual void SetDrawWidth(int pixels) = 0;

    // Size of a text in the current font.
    virtual float TextWidth(const QString& text) = 0;
    virtual float TextHeight(const QString& text) = 0;

    // A straight black line in the current pen width. The cursor does not move.
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
    // Draws the text with its top left corner at the cursor; afterwards the cursor stands at the left
    // edge of the next text line (CurrentX 0, CurrentY one text line lower).
    virtual void Print(const QString& text) = 0;

    // Page height; the renderers read it only on the preview picture.
    virtual float Height() const = 0;
    // Finishes the print job on the printer; nothing on the picture.
    virtual void EndDoc() = 0;

    virtual TargetKind Kind() const = 0;
    bool IsPrinter() const { return Kind() == TargetKind::Printer; }
    bool IsPicture() const { return Kind() == TargetKind::Picture; }

    // The printer's paper width and printable width, whatever the current target.
    virtual float PrinterPaperWidth() const = 0;
    virtual float PrinterPrintableWidth() const = 0;
};

// Error number of a refused font face (the host's "invalid property value").
inline constexpr int fontRefusedError = 380;

// The cursor, font and pen state that every target keeps the same way. Implementations add measuring
// and drawing.
class BasicPrintTarget : public PrintTarget {
  public:
    float CurrentX() const override { return x_; }
    float CurrentY() const override { return y_; }
    void SetCurrentX(float x) override { x_ = x; }
    void SetCurrentY(float y) override { y_ = y; }
    float FontSize() const override { return fontSize_; }
    void SetFontSize(float points) override;
    QString FontName() const override { return fontName_; }
    void SetFontName(const QString& face) override;
    bool FontBold() const override { return bold_; }
    void SetFontBold(bool bold) override { bold_ = bold; }
    int DrawWidth() const override { return drawWidth_; }
    void SetDrawWidth(int pixels) override { drawWidth_ = pixels < 1 ? 1 : pixels; }
    void Print(const QString& text) override;

  protected:
    BasicPrintTarget();
    // Whether the face can be set on this target.
    virtual bool faceAvailable(const QString& face) const = 0;
    // Draws the text with its top left corner at (x, y) in the current font.
    virtual void drawText(float x, float y, const QString& text) = 0;
    // Back to the top left corner, as after a new page or the end of a job.
    void homeCursor() { x_ = y_ = 0; }

  private:
    float x_ = 0;
    float y_ = 0;
    float fontSize_ = 9;
    QString fontName_;
    bool bold_ = false;
    int drawWidth_ = 1;
};

}  // namespace slp::print
