#include "app/shared/error_report.h"

#include <new>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::windows {

QString errorTitle(int number) {
    return u"错误号:"_s + QString::number(number);
}

ErrorReport describeError(const std::exception& error) {
    if (const auto* e = dynamic_cast<const slp::Error*>(&error)) return {e->number(), e->description()};
    if (const auto* e = dynamic_cast<const MissingWindowError*>(&error)) return {0, e->description()};
    if (dynamic_cast<const std::bad_alloc*>(&error)) return {7, u"内存不足"_s};
    return {0, QString::fromUtf8(error.what())};
}

void reportError(Prompts& prompts, const std::exception& error) {
    const ErrorReport r = describeError(error);
    prompts.messageBox(r.description, errorTitle(r.number), MessageIcon::Warning, MessageButtons::Ok);
}

bool runReported(Prompts& prompts, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        reportError(prompts, e);
        return false;
    }
}

}  // namespace slp::windows
