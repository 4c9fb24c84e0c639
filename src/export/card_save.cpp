#include "export/card_save.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "basic/error.h"
#include "basic/file_replace.h"
#include "export/card_fields.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

[[noreturn]] void fail(int number, const QString& what, const QString& path, const QString& reason) {
    QString text = what + QDir::toNativeSeparators(path);
    if (!reason.isEmpty()) text += u"（"_s + reason + u"）"_s;
    throw Error(number, text);
}

bool hasAnyWriteBit(const QFileInfo& info) {
    const auto p = info.permissions();
    // WriteUser asks the system whether this user may write, which is always so for the superuser.
    return p.testAnyFlags(QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

}  // namespace

void SaveCardFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) fail(errnum::PathNotFound, u"未指定工资卡文件名"_s, QString(), QString());

    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists() || !folder.isDir()) {
        fail(errnum::PathNotFound, u"找不到文件夹，无法写入工资卡文件："_s, path, QString());
    }
    if (target.exists()) {
        if (target.isDir())
            fail(carderr::PathFileAccess, u"这是一个文件夹，无法写入工资卡文件："_s, path, {});
        if (!target.isFile())
            fail(carderr::PathFileAccess, u"这不是普通文件，无法写入工资卡文件："_s, path, {});
        // A file marked read-only stays as it is, even for a user the system would let through.
        if (!target.isWritable() || !hasAnyWriteBit(target)) {
            fail(errnum::PermissionDenied, u"文件只读，无法写入工资卡文件："_s, path, QString());
        }
    }

    std::optional<FileReplacement> file;
    try {
        file.emplace(path);
    } catch (const FileWriteError& e) {
        fail(e.number(), u"无法在此位置创建工资卡文件："_s, path, e.description());
    }
    try {
        file->write(bytes);
        file->commit();
    } catch (const FileWriteError& e) {
        fail(e.number(), u"写入工资卡文件失败："_s, path, e.description());
    }
}

void WriteCardBytes(QIODevice& out, const QByteArray& bytes) {
    if (!out.isWritable()) throw Error(errnum::DeviceIo, u"工资卡文件未打开，无法写入"_s);
    if (bytes.isEmpty()) return;
    if (out.write(bytes) != bytes.size()) {
        throw Error(errnum::DeviceIo, u"写入工资卡文件失败（"_s + out.errorString() + u"）"_s);
    }
}

}  // namespace slp::bank
