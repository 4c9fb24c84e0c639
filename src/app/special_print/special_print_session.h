#pragma once
// The designer 特殊打印设置 without its widgets: what its opening reads (the settings, the layout table,
// the month's items and the stored layout), the paper boxes, the print choices (one record a page, the
// page kept at its size, a range of records), the place menus, the two helps (a printer's calibration,
// the form's background picture), 确认设置 and 打印. The window shows this state and forwards the clerk's
// actions; faults go to the caller, which reports them. The session lives in the window's handle between
// openings; every opening begins afresh.
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

#include "app/shared/window_services.h"
#include "app/special_print/special_layout.h"
#include "app/special_print/special_settings.h"
#include "basic/prompts.h"

namespace slp::windows::special {

class SpecialPrintSession {
  public:
    // Reads the host record, the settings store (none: nothing is read or kept) and the printer of
    // `services`.
    explicit SpecialPrintSession(WindowServices services);

    // The first thing opening does: the settings read afresh, an empty layout on their paper, every
    // choice of the menus cleared.
    void beginOpening();
    // Opening, next: creates the layout table when missing, reads the month's items and the stored layout
    // and lays the labels out. False after "工资项目数小于1,无法继续执行!" when the month has no items.
    // Database faults are thrown, slp::Error 91 without a database.
    bool loadLayout(Prompts& prompts);
    // How many labels a stored row placed at the last loading.
    int storedLabels() const { return storedLabels_; }
    // Whether a layout is stored (打印 prints it).
    bool hasStoredLayout() const;

    SpecialLayout& layout() { return layout_; }
    const SpecialLayout& layout() const { return layout_; }
    const SpecialSettings& settings() const { return settings_; }

    // The window's placement (twips) as stored; nullopt without a store.
    std::optional<QRect> storedPlacement() const;
    void keepPlacement(const QRect& twips);

    // The paper menus' captions, and the boxes that change them: true when the answer was accepted
    // (the caption, the sheet and the stored paper changed).
    const QString& widthCaption() const { return widthCaption_; }
    const QString& heightCaption() const { return heightCaption_; }
    bool askPaperWidth(Prompts& prompts);
    bool askPaperHeight(Prompts& prompts);

    // 是否每张只打印一个: the choice, and the choice kept in the settings.
    bool onePerPage() const { return settings_.onePerPage; }
    void setOnePerPage(bool on) { settings_.onePerPage = on; }
    void keepOnePerPage();
    // 按预定应大小打印 and 是否选择打印条件.
    void setKeepPageSize(bool on) { keepPageSize_ = on; }
    void setChooseRange(bool on) { chooseRange_ = on; }

    // The label the pop-up menu was opened over, and what its entries change.
    void chooseLabel(int index) { chosenLabel_ = index; }
    const SheetLabel* chosenLabel() const;
    void placeChosenValue(PositionCode code);
    void printChosenName(bool on);

    // 确认设置: stores the layout as it is and says so.
    void confirmLayout(Prompts& prompts);
    // The layout differs from what the opening laid out or 确认设置 last stored (labels dragged, places
    // or names changed).
    bool hasUnconfirmedChanges() const;
    // Leaving the window: with unconfirmed changes the clerk is asked whether to leave without
    // confirming them; true to leave (Yes), false to stay.
    bool mayLeave(Prompts& prompts) const;
    // Why 打印 waits: no layout is stored until 确认设置.
    static QString confirmFirstHint();
    // 打印: the month's records at the stored layout's positions on the chosen printer, with the
    // choices of the menus and the printer's calibration. Faults are thrown (nothing is printed then).
    // Printed to files, they are named for the print, the month and the time; a print of many jobs is
    // confirmed first; `progress` (the window's bar) is told the pages done and may cancel.
    void printRecords(Prompts& prompts, std::function<bool(int done, int total)> progress = {});
    // 打印机校准: asks the offsets of the chosen printer and keeps them.
    void askCalibration(Prompts& prompts);
    // 背景图片: asks for the picture; the picture to show (a null image when cleared), or nullopt when
    // nothing changed (cancelled, or a file that cannot be read, which is said).
    std::optional<QImage> askBackground(Prompts& prompts);

  private:
    WindowServices services_;
    SpecialLayout layout_;
    SpecialSettings settings_;
    QString widthCaption_;
    QString heightCaption_;
    int storedLabels_ = 0;
    bool keepPageSize_ = false;
    bool chooseRange_ = false;
    int chosenLabel_ = -1;
    std::vector<LayoutRow> confirmed_;  // the layout as laid out at opening or last stored
};

}  // namespace slp::windows::special
