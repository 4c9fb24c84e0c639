#include "app/special_print/special_layout.h"

#include <cmath>

#include "basic/conversions.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

QString payDateCaption() {
    return u"发薪日期"_s;
}

QString cmText(double twips) {
    return formatNumber(twips / kTwipsPerCm, u"0.00");
}

QString positionTip(QPointF pos) {
    return u"X:"_s + cmText(pos.x()) + u"  Y:"_s + cmText(pos.y());
}

QString treeStatusText(QPointF pos) {
    return u"横坐标X:"_s + cmText(pos.x()) + u"  纵坐标Y:"_s + cmText(pos.y());
}

QString modeStatusText(bool onePerPage) {
    return onePerPage ? u"每张纸张上只打印一个!"_s : u"每张纸张上打印好几个!"_s;
}

QString paperWidthCaption(float twips) {
    return u"纸张宽度为"_s + cmText(twips) + u"(单位厘米)"_s;
}

QString paperHeightCaption(float twips) {
    return u"纸张高度为"_s + cmText(twips) + u"(单位厘米)"_s;
}

QString paperWidthCaptionCm(double cm) {
    return u"纸张宽度为"_s + plainNumber(cm) + u"(单位厘米)"_s;
}

QString paperHeightCaptionCm(double cm) {
    return u"纸张高度为"_s + plainNumber(cm) + u"(单位厘米)"_s;
}

QString paperBoxDefault(const QString& caption) {
    const qsizetype at = caption.indexOf(u'为');
    return at < 0 ? caption : caption.mid(at + 1);
}

std::optional<double> acceptPaperCm(const QString& answer) {
    const double v = leadingValue(answer);
    if (!(v >= 2)) return std::nullopt;
    return v;
}

bool positionInRange(double twips) {
    return std::isfinite(twips) && std::abs(twips) <= kMaxPositionTwips;
}

QString allNamesCaption(bool checked) {
    return checked ? u"全部打印项目名称"_s : u"全部不打印项目名称"_s;
}

QPointF defaultLabelPos(int index) {
    return {double((index % 6) * 1200 + 1000), double((index / 6) * 900 + 700)};
}

void SpecialLayout::build(const QStringList& items, const std::vector<LayoutRow>& stored) {
    labels_.clear();
    QStringList captions = items;
    captions << payDateCaption();
    for (int i = 0; i < captions.size(); ++i) {
        SheetLabel label;
        label.caption = captions[i];
        if (size_t(i) < stored.size()) {
            const LayoutRow& row = stored[size_t(i)];
            label.pos = QPointF(row.x, row.y);
            label.position = row.position;
            label.printName = row.printName;
        } else {
            label.pos = defaultLabelPos(i);
        }
        labels_.push_back(label);
    }
}

void SpecialLayout::drag(int index, double dx, double dy, QSizeF labelSize) {
    SheetLabel& moved = labels_.at(size_t(index));
    QPointF pos = moved.pos + QPointF(dx, dy);
    for (size_t j = 0; j < labels_.size(); ++j) {
        if (int(j) != index && labels_[j].selected) labels_[j].pos += QPointF(dx, dy);
    }
    const double w = labelSize.width();
    const double h = labelSize.height();
    if (pos.y() < 2 * h) pos.setY(2 * h);
    if (pos.y() > sheet_.height() - h) pos.setY(sheet_.height() - h);
    if (pos.x() > sheet_.width() - w) pos.setX(sheet_.width() - w);
    moved.pos = pos;
}

void SpecialLayout::moveTo(int index, QPointF pos) {
    labels_.at(size_t(index)).pos = pos;
}

void SpecialLayout::selectInRect(QPointF from, QPointF to) {
    for (SheetLabel& label : labels_) {
        label.selected = from.x() <= label.pos.x() && label.pos.x() <= to.x() && from.y() <= label.pos.y() &&
                         label.pos.y() <= to.y();
    }
}

std::vector<int> SpecialLayout::selection() const {
    std::vector<int> chosen;
    for (size_t i = 0; i < labels_.size(); ++i) {
        if (labels_[i].selected) chosen.push_back(int(i));
    }
    return chosen;
}

void SpecialLayout::setAllPositions(int16_t code) {
    for (SheetLabel& label : labels_) label.position = code;
}

void SpecialLayout::setAllPrintNames(bool on) {
    for (SheetLabel& label : labels_) label.printName = on;
}

std::vector<LayoutRow> SpecialLayout::rowsToSave() const {
    std::vector<LayoutRow> rows;
    int16_t order = 0;
    for (const SheetLabel& label : labels_) {
        rows.push_back({label.caption, float(label.pos.x()), float(label.pos.y()), order++, label.position,
                        label.printName});
    }
    return rows;
}

std::vector<LayoutRow> defaultLayout(const QStringList& items) {
    SpecialLayout layout;
    layout.build(items, {});
    return layout.rowsToSave();
}

}  // namespace slp::windows::special
