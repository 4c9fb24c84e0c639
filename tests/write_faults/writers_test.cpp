// Every writer of the component under a file-size limit (below and above a 16 KiB write buffer) and
// on a full disk: an error with the system's reason, the old file byte for byte, no temporary file.
#include <gtest/gtest.h>

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>

#include "../spreadsheet/xlsx_reader.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "data/demo_database.h"
#include "data/wage_grid.h"
#include "export/bank_card_writers.h"
#include "export/spreadsheet_export.h"
#include "settings/store.h"
#include "write_faults.h"

using namespace Qt::StringLiterals;
using namespace slp;
using namespace slp::test;

namespace {

// A card grid of 3000 employees, about 100 KB in every layout.
bank::CardFileInput manyEmployees() {
    bank::CardFileInput in;
    in.unitCode = u"12345"_s;
    in.creditDate = u"2000-04-25"_s;
    in.headCount = u"3000"_s;
    in.totalAmount = u"300000.00"_s;
    in.unitName = u"朔岚软件有限公司"_s;
    for (int i = 0; i < 3000; ++i) in.rows.append({u"张三"_s, u"622200011122233"_s, u"100.00"_s});
    return in;
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
    const char* name;
    QString fileName;
    QByteArray old;  // a file the writer would replace, small enough for the small disk
    std::function<void(const QString& folder, const QString& path)> write;
    int number;  // the error number expected of a full disk
};

QList<Writer> writers() {
    QList<Writer> list;
    const struct {
        const char* name;
        bank::CardFormat format;
    } cards[] = {{"牡丹卡", bank::CardFormat::Mudan},
                 {"浦江卡", bank::CardFormat::Pujiang},
                 {"白玉兰卡", bank::CardFormat::Baiyulan},
                 {"龙卡", bank::CardFormat::Long},
                 {"邮政卡", bank::CardFormat::PostSavings}};
    for (const auto& card : cards) {
        const bank::CardFormat format = card.format;
        list.append({card.name, u"SLFGTFC.TXT"_s, "the previous card file\r\n",
                     [format](const QString&, const QString& path) {
                         ScriptedPrompts prompts;
                         bank::WriteBankCardFile(format, manyEmployees(), prompts, path);
                     },
                     errnum::DiskFull});
    }
    list.append({"settings", settings::fileNameFor(u"0101GZ"_s), "[s]\nk=old\n",
                 [](const QString& folder, const QString&) {
                     settings::Store(folder).write(u"0101GZ"_s, u"s"_s, u"k"_s, QString(200000, u'v'));
                 },
                 errnum::DiskFull});
    list.append({"xlsx", u"grid.xlsx"_s, "the previous workbook",
                 [](const QString&, const QString& path) { sheet::WriteGridWorkbook(noisyGrid(), path); },
                 errnum::DiskFull});
    list.append({"demo database", u"demo.db"_s, "the previous database",
                 [](const QString&, const QString& path) {
                     data::DemoOptions options;
                     options.employees = 3000;
                     options.replace = true;
                     data::createDemoDatabase(path, options);
                 },
                 errnum::Database});
    return list;
}

// Runs the writer; 0 when it failed with the expected number (its text in `message`).
int expectFailure(const Writer& w, const QString& folder, QString& message) {
    try {
        w.write(folder, folder + u'/' + w.fileName);
        message = u"no error"_s;
        return 2;
    } catch (const Error& e) {
        message = e.description();
        return e.number() == w.number ? 0 : 3;
    }
}

void expectUntouched(const Writer& w, const QString& folder) {
    EXPECT_EQ(contentsOf(folder + u'/' + w.fileName), w.old) << w.name;
    EXPECT_EQ(entriesOf(folder), QStringList{w.fileName}) << w.name;
}

TEST(Writers, AFileSizeLimitIsAnErrorThatLeavesTheOldFile) {
    for (const Writer& w : writers()) {
        for (const qint64 limit : {qint64(2048), qint64(24 * 1024)}) {
            QTemporaryDir dir;
            writeFile(dir.filePath(w.fileName), w.old);
            const ChildOutcome outcome = runWithFileSizeLimit(
                limit, [&](QString& message) { return expectFailure(w, dir.path(), message); });
            EXPECT_EQ(outcome.status, 0) << w.name << " " << limit << ": " << outcome.message.toStdString();
            if (w.number == errnum::DiskFull) {
                EXPECT_TRUE(outcome.message.contains(u"文件过大"_s))
                    << w.name << ": " << outcome.message.toStdString();
            }
            expectUntouched(w, dir.path());
        }
    }
}

TEST(Writers, AFullDiskIsAnErrorThatLeavesTheOldFile) {
    for (const Writer& w : writers()) {
        SmallDisk disk(64 * 1024);
        if (!disk.mounted()) GTEST_SKIP() << "no small disk to fill (" << disk.why().toStdString() << ")";
        writeFile(disk.path() + u'/' + w.fileName, w.old);
        QString message;
        EXPECT_EQ(expectFailure(w, disk.path(), message), 0) << w.name << ": " << message.toStdString();
        if (w.number == errnum::DiskFull) {
            EXPECT_TRUE(message.contains(u"磁盘空间不足"_s)) << w.name << ": " << message.toStdString();
        }
        expectUntouched(w, disk.path());
    }
}

}  // namespace

namespace {

// The spreadsheet library writes its parts through temporary files it does not check. Under limits
// spread over the whole size of the work, the workbook is refused with the system's reason or
// written with every cell: never reported written with a part cut short.
TEST(Writers, AWorkbookIsWrittenWholeOrRefusedUnderAnyLimit) {
    const data::WageGrid grid = noisyGrid();
    int refused = 0;
    int written = 0;
    for (qint64 limit = 4096; limit <= 4 * 1024 * 1024; limit = limit * 3 / 2) {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"grid.xlsx"_s);
        const ChildOutcome outcome = runWithFileSizeLimit(limit, [&](QString& message) {
            try {
                sheet::WriteGridWorkbook(grid, target);
                return 0;
            } catch (const Error& e) {
                message = e.description();
                return e.number() == errnum::DiskFull ? 1 : 3;
            }
        });
        ASSERT_TRUE(outcome.status == 0 || outcome.status == 1)
            << limit << ": " << outcome.message.toStdString();
        if (outcome.status == 1) {
            ++refused;
            EXPECT_TRUE(entriesOf(dir.path()).isEmpty()) << limit;
            continue;
        }
        ++written;
        const auto cells = readSheetCells(target);
        ASSERT_EQ(cells.size(), grid.rows() * grid.cols()) << limit;
        const QString lastCell = QChar(u'A' + char16_t(grid.cols() - 1)) + QString::number(grid.rows());
        EXPECT_EQ(cells.value(lastCell).text, grid.text(grid.rows() - 1, grid.cols() - 1)) << limit;
    }
    EXPECT_GT(refused, 5);
    EXPECT_GT(written, 0);  // the largest limits let the workbook through
}

}  // namespace
