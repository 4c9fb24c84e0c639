#include "golden_file.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace slp::test {

namespace {

QString pathOf(const QString& name) {
    return QStringLiteral(SLP_GOLDEN_DIR) + u'/' + name;
}

// The text between quotes, line ends shown as \n, so that blanks at either end can be seen.
std::string quoted(const QString& text) {
    return '"' + QString(text).replace(u"\n"_s, u"\\n"_s).toStdString() + '"';
}

}  // namespace

bool updatingGoldenFiles() {
    return qEnvironmentVariable("SLP_UPDATE_GOLDEN") == u"1"_s;
}

QString goldenText(const QString& name) {
    QFile file(pathOf(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no golden file " << file.fileName().toStdString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

::testing::AssertionResult matchesGolden(const QString& name, const QString& built) {
    const QString path = pathOf(name);
    if (updatingGoldenFiles()) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(built.toUtf8()) >= 0 && file.commit()) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
    }
    const char* hint =
        "\n(if the change is meant, run with SLP_UPDATE_GOLDEN=1 and read git diff tests/golden)";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return ::testing::AssertionFailure() << "no golden file " << path.toStdString() << hint;
    }
    const QString golden = QString::fromUtf8(file.readAll());
    if (golden == built) return ::testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < golden.size() && at < built.size() && golden[at] == built[at]) ++at;
    return ::testing::AssertionFailure()
           << path.toStdString() << " differs from the text built from character " << at + 1 << " on\n"
           << "  golden: " << quoted(golden) << "\n  built:  " << quoted(built)
           << "\n  from there the golden file has " << quoted(golden.mid(at, 40)) << " ("
           << golden.size() - at << " characters), the text built " << quoted(built.mid(at, 40)) << " ("
           << built.size() - at << " characters)" << hint;
}

}  // namespace slp::test
