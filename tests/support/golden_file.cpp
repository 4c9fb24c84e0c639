#include "golden_file.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace slp::test {

namespace {

// The text between quotes, line ends shown as \n, so that blanks at either end can be seen.
std::string quoted(const QString& text) {
    return '"' + QString(text).replace(u"\n"_s, u"\\n"_s).toStdString() + '"';
}

}  // namespace

bool updatingGoldenFiles() {
    return qEnvironmentVariable("SLP_UPDATE_GOLDEN") == u"1"_s;
}

QString goldenText(const QString& name) {
    QFile file(QStringLiteral(SLP_GOLDEN_DIR) + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) ADD_FAILURE() << "no golden file " << file.fileName().toStdString();
    return QString::fromUtf8(file.readAll());
}

::testing::AssertionResult matchesGolden(const QString& name, const QString& built) {
    const std::string path = SLP_GOLDEN_DIR "/" + name.toStdString();
    if (updatingGoldenFiles()) {
        QSaveFile file(QString::fromStdString(path));
        const bool written =
            file.open(QIODevice::WriteOnly) && file.write(built.toUtf8()) >= 0 && file.commit();
        return written ? ::testing::AssertionSuccess()
                       : ::testing::AssertionFailure() << "cannot write " << path;
    }
    const QString golden = goldenText(name);
    if (golden == built) return ::testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < golden.size() && at < built.size() && golden[at] == built[at]) ++at;
    return ::testing::AssertionFailure()
           << path << " differs from the text built from character " << at + 1
           << " on\n  golden: " << quoted(golden) << "\n  built:  " << quoted(built)
           << "\n  from there the golden file has " << quoted(golden.mid(at, 40)) << " ("
           << golden.size() - at << " characters), the text built " << quoted(built.mid(at, 40)) << " ("
           << built.size() - at << " characters)"
           << "\n(if the change is meant, run with SLP_UPDATE_GOLDEN=1 and read git diff tests/golden)";
}

}  // namespace slp::test
