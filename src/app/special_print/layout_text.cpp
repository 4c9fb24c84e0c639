#include "app/special_print/layout_text.h"

#include "app/special_print/special_layout.h"
#include "basic/conversions.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

namespace {

const QStringList kCaptionRow{u"项目名称"_s, u"X坐标"_s, u"Y坐标"_s, u"序号"_s, u"位置"_s, u"是否打印名称"_s};

QString cell(QString text) {
    return text.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
}

}  // namespace

QByteArray layoutAsTsv(const std::vector<LayoutRow>& rows) {
    QString out = kCaptionRow.join(u'\t') + u'\n';
    for (const LayoutRow& r : rows) {
        out += cell(r.caption) + u'\t' + plainNumber(r.x) + u'\t' + plainNumber(r.y) + u'\t' +
               QString::number(r.order) + u'\t' + QString::number(r.position) + u'\t' +
               boolText(r.printName) + u'\n';
    }
    return out.toUtf8();
}

std::vector<LayoutRow> layoutFromTsv(const QString& text) {
    std::vector<LayoutRow> rows;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const QStringList f = line.split(u'\t');
        if (i == 0 && f.value(0) == kCaptionRow[0]) continue;
        const auto bad = [&](const QString& why) { return LayoutTextError{i + 1, why}; };
        if (f.size() != 6) throw bad(u"应有6个以制表符分隔的栏"_s);
        for (int k : {1, 2, 4}) {
            if (!isNumericText(f[k])) throw bad(kCaptionRow[k] + u"不是数字"_s);
        }
        for (int k : {1, 2}) {
            if (!positionInRange(leadingValue(f[k]))) {
                throw bad(kCaptionRow[k] + u"超出纸张范围：应为-"_s + plainNumber(kMaxPositionTwips) +
                          u"到"_s + plainNumber(kMaxPositionTwips) + u"缇"_s);
            }
        }
        const double position = leadingValue(f[4]);
        if (position != 0 && position != 1 && position != 2 && position != 3)
            throw bad(u"位置应为0、1、2或3"_s);
        const auto name = toBool(f[5]);
        if (!name) throw bad(u"是否打印名称应为True或False"_s);
        rows.push_back({f[0], float(leadingValue(f[1])), float(leadingValue(f[2])), int16_t(rows.size()),
                        int16_t(position), *name});
    }
    return rows;
}

}  // namespace slp::windows::special
