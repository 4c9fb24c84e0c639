// The one way files are replaced: whole or not at all, with the system's reason when not.
#include "basic/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "write_faults.h"

using namespace Qt::StringLiterals;
using namespace slp;
using namespace slp::test;

namespace {

const QByteArray kOld = "the previous good file\n";

QByteArray bigText(qsizetype bytes) {
    QByteArray text(bytes, 'x');
    for (qsizetype i = 0; i < bytes; i += 64) text[i] = '\n';
    return text;
}

TEST(FileReplacement, ReplacesWholeKeepingThePermissionsAndALinkInPlace) {
    QTemporaryDir dir;
    const QString target = dir.filePath(u"a.txt"_s);
    writeFile(target, kOld);
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    replaceFile(target, "new");
    EXPECT_EQ(contentsOf(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const QString link = dir.filePath(u"link.txt"_s);
    ASSERT_TRUE(QFile::link(target, link));
    replaceFile(link, "through the link");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentsOf(target), "through the link");
    EXPECT_EQ(entriesOf(dir.path()), (QStringList{u"a.txt"_s, u"link.txt"_s}));
}

TEST(FileReplacement, AnUncommittedReplacementLeavesNothing) {
    QTemporaryDir dir;
    const QString target = dir.filePath(u"a.txt"_s);
    writeFile(target, kOld);
    {
        FileReplacement file(target);
        file.write("half");
        EXPECT_EQ(entriesOf(dir.path()).size(), 2);
    }
    EXPECT_EQ(entriesOf(dir.path()), QStringList{u"a.txt"_s});
    EXPECT_EQ(contentsOf(target), kOld);
}

TEST(FileReplacement, PlacesThatTakeNoFileGiveTheirNumberAndReason) {
    QTemporaryDir dir;
    const struct {
        QString target;
        int number;
        QString reason;
    } cases[] = {
        {dir.filePath(u"missing/a.txt"_s), errnum::PathNotFound, u"没有那个文件或目录"_s},
        {dir.path(), errnum::DeviceIo, u"是一个目录"_s},
    };
    for (const auto& c : cases) {
        try {
            replaceFile(c.target, "x");
            ADD_FAILURE() << "written: " << c.target.toStdString();
        } catch (const FileWriteError& e) {
            EXPECT_EQ(e.number(), c.number) << c.target.toStdString();
            EXPECT_EQ(e.description(), c.reason);
        }
    }
    EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
}

TEST(FileReplacement, ReasonsAndNumbersOfTheSystemsErrors) {
    const struct {
        int error;
        int number;
        const char16_t* reason;
    } cases[] = {
        {ENOSPC, errnum::DiskFull, u"磁盘空间不足"},
        {EFBIG, errnum::DiskFull, u"文件过大"},
        {EACCES, errnum::PermissionDenied, u"权限不够"},
        {EROFS, errnum::PermissionDenied, u"只读文件系统"},
        {ENOENT, errnum::PathNotFound, u"没有那个文件或目录"},
        {EIO, errnum::DeviceIo, u"输入/输出错误"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorNumberOf(c.error), c.number) << c.error;
        EXPECT_EQ(systemReason(c.error), QString::fromUtf16(c.reason)) << c.error;
    }
}

// Limits below and above the 16 KiB a buffered writer would hold back until its final flush.
TEST(FileReplacement, AFileSizeLimitLeavesTheOldFileAndNoTemporaryFile) {
    for (const qint64 limit : {qint64(2048), qint64(24 * 1024)}) {
        QTemporaryDir dir;
        const QString target = dir.filePath(u"a.txt"_s);
        writeFile(target, kOld);
        const ChildOutcome outcome = runWithFileSizeLimit(limit, [&](QString& message) {
            try {
                replaceFile(target, bigText(64 * 1024));
                return 2;
            } catch (const FileWriteError& e) {
                message = e.description();
                return e.number() == errnum::DiskFull ? 0 : 3;
            }
        });
        EXPECT_EQ(outcome.status, 0) << limit << ": " << outcome.message.toStdString();
        EXPECT_EQ(outcome.message, u"文件过大"_s);
        EXPECT_EQ(contentsOf(target), kOld);
        EXPECT_EQ(entriesOf(dir.path()), QStringList{u"a.txt"_s});
    }
}

TEST(FileReplacement, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
    SmallDisk disk(64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << "no small disk to fill (" << disk.why().toStdString() << ")";
    const QString target = disk.path() + u"/a.txt"_s;
    writeFile(target, kOld);
    try {
        replaceFile(target, bigText(256 * 1024));
        ADD_FAILURE() << "written to a full disk";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.number(), errnum::DiskFull);
        EXPECT_EQ(e.description(), u"磁盘空间不足"_s);
    }
    EXPECT_EQ(contentsOf(target), kOld);
    EXPECT_EQ(entriesOf(disk.path()), QStringList{u"a.txt"_s});
}

}  // namespace
