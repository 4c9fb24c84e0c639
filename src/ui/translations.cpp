#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace slp::ui {

bool installQtChineseTranslations() {
    auto* app = QCoreApplication::instance();
    if (!app) return false;
    // Kept for the process: the application holds a pointer to it.
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto* candidate = new QTranslator(app);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (!candidate->load(chinese, u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(candidate)) {
        delete candidate;
        return false;
    }
    translator = candidate;
    return true;
}

}  // namespace slp::ui
