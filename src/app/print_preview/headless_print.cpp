#include "app/print_preview/headless_print.h"

#include <memory>
#include <stdexcept>

#include "app/print_preview/print_preview_driver.h"
#include "basic/clock.h"
#include "basic/prompts.h"
#include "data/host_context.h"
#include "print/chinese_fonts.h"

namespace slp::print {

namespace {

// Nothing is asked; messages are kept for the caller.
class CollectingPrompts : public Prompts {
  public:
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    MessageAnswer messageBox(const QString& text, const QString&, MessageIcon, MessageButtons) override {
        messages << text;
        return MessageAnswer::Ok;
    }
    std::optional<QString> saveFile(const SaveDialogRequest&) override { return {}; }

    QStringList messages;
};

}  // namespace

HeadlessPrintResult PrintPages(const PrintPreviewRequest& request, settings::Store& store,
                               const QString& unitCode, Printer& printer, int from, int to,
                               const HeadlessPrintOptions& options) {
    if (!request.grid) throw std::invalid_argument("print request without a grid");
    registerChineseFontSubstitutes();
    HostContext host;
    host.unitCode = unitCode;
    host.payDate = options.payDate;
    SystemClock systemClock;
    CollectingPrompts prompts;
    // No picture: the pages are laid out as the preview lays them out and drawn for the printer only.
    PrintPreviewDriver driver({store, prompts, options.clock ? *options.clock : systemClock, host}, printer,
                              nullptr);
    // The caller's grid in place: it outlives this call.
    driver.setRequest(request, std::shared_ptr<const data::WageGrid>(std::shared_ptr<void>(), request.grid));
    driver.open();

    HeadlessPrintResult result;
    result.pageCount = driver.pageCount();
    // Pages that would lose rows were refused with a message when the layout was set up.
    if (driver.pagesHoldRows()) {
        result.pagesPrinted = driver.printPages(from, to < 1 ? int(driver.pageCount()) : to, options.oneJob);
    }
    result.messages = prompts.messages;
    if (!driver.slotsNote().isEmpty()) result.notes << driver.slotsNote();
    return result;
}

}  // namespace slp::print
