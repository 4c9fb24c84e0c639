#pragma once
// Where the renderers send the warnings they raise while drawing a page (an overflowing preview page, a
// font face the target refuses). The preview shows each in a warning box with the exclamation icon and
// no title; tests collect them.
#include <QString>
#include <QStringList>

#include "basic/prompts.h"

namespace slp::print {

class WarningSink {
  public:
    virtual ~WarningSink() = default;
    virtual void warning(const QString& text) = 0;
};

// Shows each warning in a message box: exclamation icon, no title, OK.
class PromptsWarningSink : public WarningSink {
  public:
    explicit PromptsWarningSink(Prompts& prompts) : prompts_(prompts) {}
    void warning(const QString& text) override {
        prompts_.messageBox(text, QString(), MessageIcon::Warning, MessageButtons::Ok);
    }

  private:
    Prompts& prompts_;
};

// Keeps the warnings in order.
class CollectedWarnings : public WarningSink {
  public:
    void warning(const QString& text) override { texts << text; }
    QStringList texts;
};

}  // namespace slp::print
