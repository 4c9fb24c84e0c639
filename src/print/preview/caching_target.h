#pragma once
// A print target in front of another that spares it repeated work: a font face, size or weight set to
// what is already in force is not set again (checking a face against the font system is slow), and the
// sizes of texts are remembered for the font in force. The renderers set the face of every cell and
// measure the same captions on every slip; drawing itself goes straight through.
#include <QHash>
#include <QString>

#include "print/print_target.h"

namespace slp::print {

class CachingTarget : public PrintTarget {
  public:
    explicit CachingTarget(PrintTarget& inner) : inner_(inner) {}

    PrintTarget& inner() const { return inner_; }

    float CurrentX() const override { return inner_.CurrentX(); }
    float CurrentY() const override { return inner_.CurrentY(); }
    void SetCurrentX(float x) override { inner_.SetCurrentX(x); }
    void SetCurrentY(float y) override { inner_.SetCurrentY(y); }
    float FontSize() const override { return inner_.FontSize(); }
    void SetFontSize(float points) override;
    QString FontName() const override { return inner_.FontName(); }
    void SetFontName(const QString& face) override;
    bool FontBold() const override { return inner_.FontBold(); }
    void SetFontBold(bool bold) override;
    int DrawWidth() const override { return inner_.DrawWidth(); }
    void SetDrawWidth(int pixels) override;
    float TextWidth(const QString& text) override;
    float TextHeight(const QString& text) override;
    void Line(float x1, float y1, float x2, float y2) override { inner_.Line(x1, y1, x2, y2); }
    void Print(const QString& text) override { inner_.Print(text); }
    float Height() const override { return inner_.Height(); }
    void EndDoc() override { inner_.EndDoc(); }
    TargetKind Kind() const override { return inner_.Kind(); }
    float PrinterPaperWidth() const override { return inner_.PrinterPaperWidth(); }
    float PrinterPrintableWidth() const override { return inner_.PrinterPrintableWidth(); }

    // Sizes remembered at most; then the memory starts afresh, so it stays small on long runs.
    static constexpr int kMaxRemembered = 4096;

  private:
    struct Key {
        QString face;
        float size;
        bool bold;
        bool height;
        QString text;
        friend bool operator==(const Key&, const Key&) = default;
    };
    friend size_t qHash(const Key& k, size_t seed) {
        return qHashMulti(seed, k.face, k.size, k.bold, k.height, k.text);
    }
    float measure(bool height, const QString& text);

    PrintTarget& inner_;
    QHash<Key, float> sizes_;
};

}  // namespace slp::print
