#include "xlsx_reader.h"

#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace slp::test {

QByteArray packagePart(const QString& xlsxPath, const QString& part) {
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, xlsxPath, part});
    if (!unzip.waitForFinished(30000) || unzip.exitStatus() != QProcess::NormalExit ||
        unzip.exitCode() != 0) {
        return QByteArray();
    }
    return unzip.readAllStandardOutput();
}

bool packageIsSound(const QString& xlsxPath) {
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-tq"_s, xlsxPath});
    return unzip.waitForFinished(30000) && unzip.exitStatus() == QProcess::NormalExit &&
           unzip.exitCode() == 0;
}

namespace {

// The texts of the shared-string table in order; a rich string's runs are joined.
QStringList sharedStrings(const QByteArray& xml) {
    QStringList out;
    QXmlStreamReader r(xml);
    QString current;
    bool inItem = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"si") {
            inItem = true;
            current.clear();
        } else if (r.isStartElement() && r.name() == u"t" && inItem) {
            current += r.readElementText();
        } else if (r.isEndElement() && r.name() == u"si") {
            out << current;
            inItem = false;
        }
    }
    return out;
}

}  // namespace

QMap<QString, SheetCell> readSheetCells(const QString& xlsxPath) {
    const QStringList strings = sharedStrings(packagePart(xlsxPath, u"xl/sharedStrings.xml"_s));
    QMap<QString, SheetCell> cells;
    QXmlStreamReader r(packagePart(xlsxPath, u"xl/worksheets/sheet1.xml"_s));
    QString ref;
    SheetCell cell;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"c") {
            ref = r.attributes().value(u"r"_s).toString();
            cell = SheetCell{r.attributes().value(u"t"_s).toString(), QString(),
                             r.attributes().value(u"s"_s).toString()};
        } else if (r.isStartElement() && r.name() == u"v") {
            const QString v = r.readElementText();
            if (cell.type == u"s") {
                const int i = v.toInt();
                cell.text = i >= 0 && i < strings.size() ? strings[i] : u"<bad index "_s + v + u'>';
            } else {
                cell.text = v;
            }
        } else if (r.isStartElement() && r.name() == u"t") {  // an inline string
            cell.text += r.readElementText();
        } else if (r.isEndElement() && r.name() == u"c") {
            cells.insert(ref, cell);
        }
    }
    return cells;
}

QString elementText(const QByteArray& xml, const QString& name) {
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == name) return r.readElementText();
    }
    return QString();
}

}  // namespace slp::test
