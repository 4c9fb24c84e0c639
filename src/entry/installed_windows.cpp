#include "entry/installed_windows.h"

// Each window folder offers a function that gives the registry its factory.
// (one include and one call per window; keep them in this order)
#include "print/chinese_fonts.h"
#include "ui/translations.h"
#include "windows/card_export/card_export_registration.h"
#include "windows/department_payment/register_department_payment.h"
#include "windows/department_summary/register_department_summary.h"
#include "windows/employee_table/register_employee_table.h"
#include "windows/print_preview/show_print_preview.h"
#include "windows/query/register_query.h"
#include "windows/slip_mail/slip_mail_window.h"
#include "windows/special_print/register_special_print.h"

namespace slp {

void installComponentWindows(WindowRegistry& registry) {
    // A window without a factory answers its opening method with "not implemented", naming the window.
    // The windows measure and print in 宋体, 黑体 and 隶书: their stand-ins are known before any opens.
    print::registerChineseFontSubstitutes();
    // Qt's own dialogs speak Chinese like the windows.
    ui::installQtChineseTranslations();
    card::registerCardExportWindow(registry);
    registerDepartmentPaymentWindow(registry);
    registerDepartmentSummaryWindow(registry);
    registerEmployeeTableWindow(registry);
    registerQueryWindow(registry);
    registerSlipMailWindow(registry);
    registerSpecialPrintWindow(registry);
    print::registerPrintPreviewWindow(registry);
}

}  // namespace slp
