#pragma once
// The designer 特殊打印设置 without its widgets: the captions on the sheet (one a wage item of the month
// and "发薪日期" last), their positions, position codes, name flags and selection, the sheet size, the
// drag with its clamps, the group move, the rectangle selection, and the rows 确认设置 stores.
// Label index i (0-based) is the window's label i + 1.
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "app/special_print/layout_table.h"

namespace slp::windows::special {

inline constexpr float kTwipsPerCm = 567;
inline constexpr float kDefaultSheetWidth = 18000;
inline constexpr float kDefaultSheetHeight = 10000;
// The farthest a caption or the printer's calibration may lie from the sheet's corner, either way:
// three metres, past any paper a printer takes.
inline constexpr double kMaxPositionTwips = 300 * double(kTwipsPerCm);

// Whether a position (twips) is a number within kMaxPositionTwips of the sheet's corner.
bool positionInRange(double twips);

struct SheetLabel {
    QString caption;
    QPointF pos;           // Left and Top on the sheet, twips
    int16_t position = 0;  // PositionCode (the label's Tag)
    bool printName = false;
    bool selected = false;
};

// The caption of the pay date's label and tree node.
QString payDateCaption();
// Twips as centimetres "0.00".
QString cmText(double twips);
// A label's tool tip: "X:1.76  Y:1.23".
QString positionTip(QPointF pos);
// Status panel 1 after a tree click: "横坐标X:1.76  纵坐标Y:1.23".
QString treeStatusText(QPointF pos);
// Status panel 2.
QString modeStatusText(bool onePerPage);
// The paper menus' captions at opening ("纸张宽度为31.75(单位厘米)") and after an answer (v as plain text).
QString paperWidthCaption(float twips);
QString paperHeightCaption(float twips);
QString paperWidthCaptionCm(double cm);
QString paperHeightCaptionCm(double cm);
// The input box's default: the caption's text after "为".
QString paperBoxDefault(const QString& caption);
// The centimetres an answer of the paper boxes gives: its leading number when at least 2, else nullopt.
std::optional<double> acceptPaperCm(const QString& answer);
// The caption of 打印名称 (MnuSelWZ(20)) after it is toggled.
QString allNamesCaption(bool checked);

// Where the default grid puts label i: six a row, 1200 twips apart from Left 1000, rows 900 apart from
// Top 700.
QPointF defaultLabelPos(int index);

class SpecialLayout {
  public:
    // BuildSheet: one label per item (in item order) and the pay date's last; stored row i places label
    // i by position, whatever its name; labels without a row go to the default grid, flags cleared.
    void build(const QStringList& items, const std::vector<LayoutRow>& stored);

    const std::vector<SheetLabel>& labels() const { return labels_; }
    int count() const { return int(labels_.size()); }
    const SheetLabel& label(int index) const { return labels_.at(size_t(index)); }

    QSizeF sheet() const { return sheet_; }
    void setSheet(QSizeF sheet) { sheet_ = sheet; }

    // Dragging label `index` (of size `labelSize`) by (dx, dy): the selected others move by the same,
    // unclamped; the label itself is kept inside the sheet: Top at least twice its height, at most the
    // sheet height less its height, Left at most the sheet width less its width (no lower limit).
    void drag(int index, double dx, double dy, QSizeF labelSize);
    // Places a label (no clamps).
    void moveTo(int index, QPointF pos);
    // SelectLabelsInRect: the labels whose top left corner lies in the rectangle from `from` to `to`
    // (a rectangle dragged up or left selects nothing); every other label is unselected.
    void selectInRect(QPointF from, QPointF to);
    std::vector<int> selection() const;

    void setPosition(int index, int16_t code) { labels_.at(size_t(index)).position = code; }
    void setPrintName(int index, bool on) { labels_.at(size_t(index)).printName = on; }
    void setAllPositions(int16_t code);
    void setAllPrintNames(bool on);

    // What 确认设置 stores: a row per label in order, 序号 0 … n.
    std::vector<LayoutRow> rowsToSave() const;

  private:
    std::vector<SheetLabel> labels_;
    QSizeF sheet_{kDefaultSheetWidth, kDefaultSheetHeight};
};

// The default layout of the month's items, as 确认设置 stores it right after opening without a layout.
std::vector<LayoutRow> defaultLayout(const QStringList& items);

}  // namespace slp::windows::special
