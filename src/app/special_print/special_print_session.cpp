#include "app/special_print/special_print_session.h"

#include "app/shared/host_database.h"
#include "app/special_print/layout_table.h"
#include "app/special_print/special_print.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "basic/host_text.h"
#include "data/database.h"
#include "data/host_context.h"
#include "print/pdf_print_choice.h"
#include "print/printer.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

SpecialPrintSession::SpecialPrintSession(WindowServices services) : services_(std::move(services)) {}

void SpecialPrintSession::beginOpening() {
    settings_ = services_.store ? readSpecialSettings(*services_.store, services_.context->unitCode)
                                : SpecialSettings{};
    layout_ = SpecialLayout{};
    layout_.setSheet(settings_.paper);
    widthCaption_ = paperWidthCaption(float(settings_.paper.width()));
    heightCaption_ = paperHeightCaption(float(settings_.paper.height()));
    storedLabels_ = 0;
    keepPageSize_ = false;
    chooseRange_ = false;
    chosenLabel_ = -1;
    confirmed_ = layout_.rowsToSave();
}

bool SpecialPrintSession::loadLayout(Prompts& prompts) {
    data::Database& db = requireDatabase(*services_.context);
    EnsureLayoutTable(db);
    QStringList items;
    data::ResultSet set = db.open(u"select 项目名称  from  14工资输出及公式  where 工作年月 ="_s +
                                  sqlTextLiteral(services_.context->monthKey()) + u" order by 项目序号"_s);
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        items << set.text(0);
    }
    if (items.isEmpty()) {
        prompts.messageBox(u"工资项目数小于1,无法继续执行!"_s, QString(), MessageIcon::Warning);
        return false;
    }
    const std::vector<LayoutRow> stored = ReadLayout(db);
    layout_.build(items, stored);
    storedLabels_ = int(stored.size());
    confirmed_ = layout_.rowsToSave();
    return true;
}

bool SpecialPrintSession::hasStoredLayout() const {
    return HasStoredLayout(requireDatabase(*services_.context));
}

std::optional<QRect> SpecialPrintSession::storedPlacement() const {
    if (!services_.store) return std::nullopt;
    return readPlacement(*services_.store);
}

void SpecialPrintSession::keepPlacement(const QRect& twips) {
    if (services_.store) writePlacement(*services_.store, twips);
}

bool SpecialPrintSession::askPaperWidth(Prompts& prompts) {
    const auto cm =
        acceptPaperCm(prompts.inputBox(u"请输入打印纸张的宽度"_s, QString(), paperBoxDefault(widthCaption_))
                          .value_or(QString()));
    if (!cm) return false;
    widthCaption_ = paperWidthCaptionCm(*cm);
    if (services_.store) writePaperWidth(*services_.store, services_.context->unitCode, *cm);
    layout_.setSheet(QSizeF(*cm * kTwipsPerCm, layout_.sheet().height()));
    return true;
}

bool SpecialPrintSession::askPaperHeight(Prompts& prompts) {
    const auto cm =
        acceptPaperCm(prompts.inputBox(u"请输入打印纸张的高度"_s, QString(), paperBoxDefault(heightCaption_))
                          .value_or(QString()));
    if (!cm) return false;
    heightCaption_ = paperHeightCaptionCm(*cm);
    if (services_.store) writePaperHeight(*services_.store, services_.context->unitCode, *cm);
    layout_.setSheet(QSizeF(layout_.sheet().width(), *cm * kTwipsPerCm));
    return true;
}

void SpecialPrintSession::keepOnePerPage() {
    if (services_.store) writeOnePerPage(*services_.store, services_.context->unitCode, settings_.onePerPage);
}

const SheetLabel* SpecialPrintSession::chosenLabel() const {
    if (chosenLabel_ < 0 || chosenLabel_ >= layout_.count()) return nullptr;
    return &layout_.label(chosenLabel_);
}

void SpecialPrintSession::placeChosenValue(PositionCode code) {
    if (chosenLabel()) layout_.setPosition(chosenLabel_, code);
}

void SpecialPrintSession::printChosenName(bool on) {
    if (chosenLabel()) layout_.setPrintName(chosenLabel_, on);
}

void SpecialPrintSession::confirmLayout(Prompts& prompts) {
    std::vector<LayoutRow> rows = layout_.rowsToSave();
    SaveLayout(requireDatabase(*services_.context), rows);
    confirmed_ = std::move(rows);
    prompts.messageBox(layoutSavedMessage(), QString(), MessageIcon::Information);
}

bool SpecialPrintSession::hasUnconfirmedChanges() const {
    return layout_.rowsToSave() != confirmed_;
}

bool SpecialPrintSession::mayLeave(Prompts& prompts) const {
    if (!hasUnconfirmedChanges()) return true;
    return prompts.messageBox(u"打印位置已改动，但还没有确认设置。不保存改动就退出吗？"_s, QString(),
                              MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

QString SpecialPrintSession::confirmFirstHint() {
    return u"请先确认设置，再打印"_s;
}

void SpecialPrintSession::printRecords(Prompts& prompts, std::function<bool(int done, int total)> progress) {
    if (!services_.openPrinter) throw Error(errnum::NoPrinter, u"没有安装打印机"_s);
    std::unique_ptr<print::Printer> printer = services_.openPrinter();
    HostContext& host = *services_.context;
    SpecialData data = openSpecialData(requireDatabase(host), host.monthKey(), u"order by 部门号"_s,
                                       u"16工资输出数据"_s, host.payDate);
    SpecialOptions o;
    o.onePerPage = settings_.onePerPage;
    o.keepPageSize = keepPageSize_;
    o.sheet = layout_.sheet();
    if (chooseRange_) {
        const auto range = askRange(prompts, data.rows.recordCount());
        if (!range) return;
        o.first = range->first;
        o.last = range->second;
    }
    if (services_.store) {
        const QPointF mm = readCalibrationMm(*services_.store, host.unitCode, printer->deviceName());
        o.calibration = QPointF(mmToTwips(mm.x()), mmToTwips(mm.y()));
    }
    o.fileName =
        print::printedFileName(u"特殊打印"_s, host.workYear, host.workMonth,
                               services_.clock ? services_.clock->now() : QDateTime::currentDateTime());
    o.progress = std::move(progress);
    const bool toFiles = !printer->outputFolder().isEmpty();
    bool refused = false;
    o.confirmManyJobs = [&](int jobs) {
        refused = prompts.messageBox(manyJobsQuestion(jobs, toFiles), QString(), MessageIcon::Question,
                                     MessageButtons::YesNo) != MessageAnswer::Yes;
        return !refused;
    };
    QString placement;
    const int printed = PrintSpecial(*printer, data, o, &placement);
    if (refused) return;
    if (printed == 0) {
        prompts.messageBox(emptyRangeMessage(o.first, o.last, data.rows.recordCount()), QString(),
                           MessageIcon::Information);
        return;
    }
    if (!placement.isEmpty()) prompts.messageBox(placement, QString(), MessageIcon::Information);
    print::tellWherePrinted(*printer, prompts);
}

void SpecialPrintSession::askCalibration(Prompts& prompts) {
    if (!services_.store || !services_.openPrinter) return;
    const QString name = services_.openPrinter()->deviceName();
    const QPointF now = readCalibrationMm(*services_.store, services_.context->unitCode, name);
    const auto x = prompts.inputBox(u"打印机\""_s + name + u"\"的横向偏移(毫米,向右为正)"_s, QString(),
                                    plainNumber(now.x()));
    if (!x || !isNumericText(*x)) return;
    const auto y = prompts.inputBox(u"打印机\""_s + name + u"\"的纵向偏移(毫米,向下为正)"_s, QString(),
                                    plainNumber(now.y()));
    if (!y || !isNumericText(*y)) return;
    writeCalibrationMm(*services_.store, services_.context->unitCode, name,
                       QPointF(leadingValue(*x), leadingValue(*y)));
}

std::optional<QImage> SpecialPrintSession::askBackground(Prompts& prompts) {
    const auto path = prompts.inputBox(u"背景图片文件(PNG或JPEG,只在设置时显示,不打印;清空为不用)"_s,
                                       QString(), settings_.background);
    if (!path) return std::nullopt;
    const QString chosen = path->trimmed();
    QImage picture;
    if (!chosen.isEmpty() && !picture.load(chosen)) {
        prompts.messageBox(u"无法读取图片文件: "_s + chosen, QString(), MessageIcon::Warning);
        return std::nullopt;
    }
    settings_.background = chosen;
    if (services_.store) writeBackground(*services_.store, services_.context->unitCode, chosen);
    return picture;
}

}  // namespace slp::windows::special
