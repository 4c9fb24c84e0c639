// Every writer under a file-size limit (RLIMIT_FSIZE in a child, SIGXFSZ ignored; below and above a
// 16 KiB write buffer) and on a full disk (a small tmpfs, when the tests run as root): an error with the
// system's reason, the old file byte for byte, no temporary file left.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>

#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "data/demo_database.h"
#include "data/wage_grid.h"
#include "export/bank_card_writers.h"
#include "export/spreadsheet_export.h"
#include "export/zip_check.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;
using namespace slp;

namespace {

// Runs `body` in a child whose files may not grow past `limit`; its exit status (-1: killed) and text.
std::pair<int, QString> withFileSizeLimit(qint64 limit, const std::function<int(QString&)>& body) {
    int ends[2];
    if (::pipe(ends) != 0) return {-1, u"pipe"_s};
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{rlim_t(limit), rlim_t(limit)};
        ::setrlimit(RLIMIT_FSIZE, &r);
        QString message;
        const int status = body(message);
        const QByteArray utf8 = message.toUtf8();
        [[maybe_unused]] const ssize_t n = ::write(ends[1], utf8.constData(), size_t(utf8.size()));
        ::_exit(status);
    }
    ::close(ends[1]);
    QByteArray text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(ends[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return {-1, QString()};
    return {WEXITSTATUS(status), QString::fromUtf8(text)};
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}
QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}
void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Random texts, so the workbook does not compress below the limits.
data::WageGrid noisyGrid() {
    data::WageGrid grid(3000, 8);
    QRandomGenerator random(15);
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            QString text;
            for (int k = 0; k < 12; ++k) text += QChar(u'A' + char16_t(random.bounded(26)));
            grid.setText(r, c, text);
        }
    }
    return grid;
}

struct Writer {
    QString fileName;
    QByteArray old;  // small enough for the small disk; settings must parse to be replaced
    std::function<void(const QString& folder, const QString& path)> write;
    int number;  // the error number a full disk gives
};

QList<Writer> writers() {
    bank::CardFileInput cards;  // about 100 KB in every layout
    cards = {u"12345"_s, u"2000-04-25"_s, u"3000"_s, u"300000.00"_s, u"朔岚软件有限公司"_s, {}};
    for (int i = 0; i < 3000; ++i) cards.rows.append({u"张三"_s, u"62220001"_s, u"100.00"_s});
    QList<Writer> list;
    for (const auto format : {bank::CardFormat::Mudan, bank::CardFormat::Pujiang, bank::CardFormat::Baiyulan,
                              bank::CardFormat::Long, bank::CardFormat::PostSavings}) {
        list.append({u"CARD.TXT"_s, "the previous card file\r\n",
                     [=](const QString&, const QString& path) {
                         ScriptedPrompts prompts;
                         bank::WriteBankCardFile(format, cards, prompts, path);
                     },
                     errnum::DiskFull});
    }
    list.append({u"0101GZ.ini"_s, "[s]\nk=old\n",
                 [](const QString& folder, const QString&) {
                     settings::Store(folder).write(u"0101GZ"_s, u"s"_s, u"k"_s, QString(200000, u'v'));
                 },
                 errnum::DiskFull});
    list.append({u"g.xlsx"_s, "the previous workbook",
                 [](const QString&, const QString& path) { sheet::WriteGridWorkbook(noisyGrid(), path); },
                 errnum::DiskFull});
    list.append({u"d.db"_s, "the previous database",
                 [](const QString&, const QString& path) {
                     data::createDemoDatabase(path, {3000, u"2000-04"_s, 1, true});
                 },
                 errnum::Database});
    return list;
}

// 0 when the writer failed with its number (the text in `message`), 2 when it wrote, 3 another number.
int failure(const Writer& w, const QString& folder, QString& message) {
    try {
        w.write(folder, folder + u'/' + w.fileName);
        return 2;
    } catch (const Error& e) {
        message = e.description();
        return e.number() == w.number ? 0 : 3;
    }
}

// Limits first (2 KiB and 24 KiB), then the full disk (limit 0), which is skipped loudly without root.
TEST(Writers, AFileSizeLimitOrAFullDiskIsAnErrorThatLeavesTheOldFile) {
    struct Folder {  // a 64 KiB tmpfs over a temporary folder when `small` and the system lets us
        QTemporaryDir dir;
        bool mounted = false;
        explicit Folder(bool small) {
            mounted = small && ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0,
                                       "size=64k") == 0;
        }
        ~Folder() {
            if (mounted) ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
        }
    };
    for (const qint64 limit : {qint64(2048), qint64(24 * 1024), qint64(0)}) {
        for (const Writer& w : writers()) {
            Folder folder(limit == 0);
            if (limit == 0 && !folder.mounted)
                GTEST_SKIP() << "full disk not tested: mount -t tmpfs needs root";
            const QString path = folder.dir.path();
            put(path + u'/' + w.fileName, w.old);
            QString message;
            int status = 0;
            if (limit > 0) {
                std::tie(status, message) =
                    withFileSizeLimit(limit, [&](QString& text) { return failure(w, path, text); });
            } else {
                status = failure(w, path, message);
            }
            SCOPED_TRACE(w.fileName.toStdString() + " limit " + std::to_string(limit));
            EXPECT_EQ(status, 0) << message.toStdString();
            EXPECT_TRUE(message.contains(limit > 0 ? u"文件过大"_s : u"磁盘空间不足"_s))
                << message.toStdString();
            EXPECT_EQ(contents(path + u'/' + w.fileName), w.old);
            EXPECT_EQ(entries(path), QStringList{w.fileName});
        }
    }
}

// The spreadsheet library writes its parts through temporary files without checking those writes: a
// package whose sheet was cut short but zipped soundly is found.
TEST(Writers, AWorkbookWithAPartCutShortIsFound) {
    QTemporaryDir dir;
    const QString good = dir.filePath(u"good.xlsx"_s);
    sheet::WriteGridWorkbook(noisyGrid(), good);
    EXPECT_EQ(sheet::incompletePart(good), QString());
    ASSERT_EQ(QProcess::execute(u"unzip"_s, {u"-qo"_s, good, u"-d"_s, dir.filePath(u"p"_s)}), 0);
    QFile sheet(dir.filePath(u"p/xl/worksheets/sheet1.xml"_s));
    ASSERT_TRUE(sheet.open(QIODevice::ReadWrite) && sheet.resize(sheet.size() - 20));
    sheet.close();
    QProcess zip;
    zip.setWorkingDirectory(dir.filePath(u"p"_s));
    zip.start(u"zip"_s, {u"-qr"_s, dir.filePath(u"cut.xlsx"_s), u"."_s});
    ASSERT_TRUE(zip.waitForFinished() && zip.exitCode() == 0) << "zip is needed";
    EXPECT_EQ(sheet::incompletePart(dir.filePath(u"cut.xlsx"_s)), u"xl/worksheets/sheet1.xml 不完整"_s);
    put(dir.filePath(u"short.xlsx"_s), contents(good).chopped(1));
    EXPECT_EQ(sheet::incompletePart(dir.filePath(u"short.xlsx"_s)), u"没有结束记录"_s);
}

}  // namespace
