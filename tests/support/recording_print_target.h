#pragma once
// A page recorder with fixed, simple text metrics that also keeps a log of every call: the renderers'
// coordinates can be asserted exactly, on the log or on the recorded page. A full-width (CJK) character
// is FontSize x 20 twips wide, any other character half of that; a text line is FontSize x 20 twips high.
#include <QStringList>
#include <optional>
#include <vector>

#include "print/page_recorder.h"

namespace slp::print {

struct RecordedCall {
    enum Kind { Text, Line, EndDoc, FontSize, FontName, FontBold, DrawWidth, FontRefused };
    Kind kind = Text;
    float x = 0;  // Text: the cursor; Line: first end
    float y = 0;
    float x2 = 0;  // Line: second end
    float y2 = 0;
    QString text;        // Text: the printed text; FontName / FontRefused: the face asked for
    float fontSize = 0;  // the state in force at the call
    QString fontName;
    bool bold = false;
    int drawWidth = 1;
};

class RecordingPrintTarget : public PageRecorder {
  public:
    struct Setup {
        TargetKind kind = TargetKind::Picture;
        float height = 16838;          // page height (A4)
        float paperWidth = 11906;      // the printer's paper width (A4)
        float printableWidth = 11906;  // the printer's printable width
        QStringList refusedFaces;      // faces this target will not set
    };
    RecordingPrintTarget() : RecordingPrintTarget(Setup{}) {}
    explicit RecordingPrintTarget(Setup setup);

    void SetFontSize(float points) override;
    void SetFontName(const QString& face) override;
    void SetFontBold(bool bold) override;
    void SetDrawWidth(int pixels) override;
    float TextWidth(const QString& text) override;
    float TextHeight(const QString& text) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void EndDoc() override;

    const std::vector<RecordedCall>& calls() const { return calls_; }
    std::vector<RecordedCall> texts() const { return only(RecordedCall::Text); }
    std::vector<RecordedCall> lines() const { return only(RecordedCall::Line); }
    std::vector<RecordedCall> only(RecordedCall::Kind kind) const;
    // The printed texts in order.
    QStringList printedTexts() const;
    // The first print of exactly this text, or nullopt.
    std::optional<RecordedCall> findText(const QString& text) const;
    // Every print of exactly this text.
    std::vector<RecordedCall> findTexts(const QString& text) const;
    void clear() { calls_.clear(); }

    // Whether a character counts as full width in these metrics.
    static bool isFullWidth(QChar c);

  protected:
    bool faceAvailable(const QString& face) const override;
    void drawText(float x, float y, const QString& text) override;

  private:
    RecordedCall snapshot(RecordedCall::Kind kind) const;

    Setup setup_;
    std::vector<RecordedCall> calls_;
};

}  // namespace slp::print
