// The command line on a PostgreSQL database gives what it gives on the SQLite file with the same data:
// the grids, the bank files and the printed pages byte for byte; two clerks at once; a connection
// dropped while a bank file is made.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include "data/database.h"
#include "test_server.h"

using namespace Qt::StringLiterals;

namespace {

struct CliResult {
    int code = -1;
    QByteArray out;
    QString err;
};

class ServerCli : public ::testing::Test {
  protected:
    void SetUp() override {
        QString reason;
        const auto found = slp::test::freshSchemaUrl(&reason);
        if (!found) GTEST_SKIP() << "PostgreSQL tests skipped: " << reason.toStdString();
        url = *found;
        file = home.filePath(u"w.db"_s);
        const QStringList demo = {u"--wide"_s, u"--employees"_s, u"150"_s, u"--seed"_s, u"77"_s};
        ASSERT_EQ(run(QStringList{u"demo-db"_s, file} + demo).code, 0);
        const CliResult server = run(QStringList{u"demo-db"_s, url} + demo);
        ASSERT_EQ(server.code, 0) << server.err.toStdString();
    }
    QProcess* start(const QStringList& args, const QProcessEnvironment& extra = {}) {
        auto* p = new QProcess;
        auto env = QProcessEnvironment::systemEnvironment();
        for (const QString& name : extra.keys()) env.insert(name, extra.value(name));
        env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(SLP_BIN_DIR "/slpayprn"), args);
        return p;
    }
    static CliResult finish(QProcess* p) {
        p->waitForFinished(120000);
        CliResult r{p->exitCode(), p->readAllStandardOutput(), QString::fromUtf8(p->readAllStandardError())};
        delete p;
        return r;
    }
    CliResult run(const QStringList& args) { return finish(start(args)); }
    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A PDF file's bytes but for the second it was made in (two runs may fall into two seconds).
    static QByteArray pdfContents(const QString& path) {
        QByteArray bytes = contents(path);
        const qsizetype at = bytes.indexOf("/CreationDate(D:");
        if (at >= 0)
            bytes.replace(at, qsizetype(sizeof "/CreationDate(D:yyyyMMddHHmmssZ)") - 1, "/CreationDate");
        return bytes;
    }

    QTemporaryDir home;
    QString url;
    QString file;
};

// A card file the demo month can be written in: its 19-digit card numbers fit the 龙卡's field.
const QString cardType = u"中国建设银行龙卡"_s;

TEST_F(ServerCli, GridsAreTheSameOnBothEngines) {
    const QList<QStringList> commands = {
        {u"grid"_s, u"employee"_s},
        {u"grid"_s, u"employee"_s, u"--hide-zeros"_s},
        {u"grid"_s, u"summary"_s},
        {u"grid"_s, u"card"_s, u"--sort"_s, u"姓名"_s},
        {u"grid"_s, u"card"_s, u"--sort"_s, u"卡号"_s},
        {u"grid"_s, u"query"_s, u"--dept"_s, u">=05"_s},
        {u"grid"_s, u"query"_s, u"--name"_s, u"王"_s},
    };
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(u' ').toStdString());
        const CliResult onFile = run(QStringList{u"--db"_s, file} + command);
        const CliResult onServer = run(QStringList{u"--db"_s, url} + command);
        ASSERT_EQ(onFile.code, 0) << onFile.err.toStdString();
        EXPECT_EQ(onServer.code, 0) << onServer.err.toStdString();
        EXPECT_GT(onFile.out.count('\n'), 2);
        EXPECT_EQ(onServer.out, onFile.out);
    }
}

TEST_F(ServerCli, BankFilesAndPagesAreTheSame) {
    // every card type that has a file format
    const QStringList types = {u"中国建设银行龙卡"_s, u"中国人民邮政储蓄卡"_s, u"中国工商银行浦江卡"_s,
                               u"中国工商银行牡丹卡"_s};
    for (const QString& type : types) {
        SCOPED_TRACE(type.toStdString());
        const QString a = home.filePath(u"a-"_s + type), b = home.filePath(u"b-"_s + type);
        const CliResult onFile = run({u"--db"_s, file, u"card"_s, u"--type"_s, type, u"--out"_s, a});
        const CliResult onServer = run({u"--db"_s, url, u"card"_s, u"--type"_s, type, u"--out"_s, b});
        // The demo's 19-digit card numbers fit only the 龙卡's field: the others refuse the same rows on
        // both engines.
        EXPECT_EQ(onFile.code, type == u"中国建设银行龙卡"_s ? 0 : 1) << onFile.err.toStdString();
        EXPECT_EQ(onServer.code, onFile.code) << onServer.err.toStdString();
        EXPECT_EQ(onServer.err, onFile.err);
        EXPECT_EQ(contents(a).isEmpty(), onFile.code != 0);
        EXPECT_EQ(contents(b), contents(a));
    }
    for (const QString& what : {u"wage-table"_s, u"summary"_s}) {
        SCOPED_TRACE(what.toStdString());
        const QString a = home.filePath(u"pa-"_s + what), b = home.filePath(u"pb-"_s + what);
        ASSERT_EQ(run({u"--db"_s, file, u"print"_s, what, u"--pdf-dir"_s, a, u"--to"_s, u"2"_s}).code, 0);
        EXPECT_EQ(run({u"--db"_s, url, u"print"_s, what, u"--pdf-dir"_s, b, u"--to"_s, u"2"_s}).code, 0);
        const QStringList pages = QDir(a).entryList(QDir::Files, QDir::Name);
        ASSERT_FALSE(pages.isEmpty());
        EXPECT_EQ(QDir(b).entryList(QDir::Files, QDir::Name), pages);
        for (const QString& page : pages) {
            EXPECT_EQ(pdfContents(b + u'/' + page), pdfContents(a + u'/' + page));
        }
    }
}

// libpq's variables fill in what the URL leaves out: "postgresql://" alone reaches the same database.
TEST_F(ServerCli, EnvironmentVariablesFillTheUrl) {
    const QUrlQuery parts{QUrl(url)};
    QProcessEnvironment env;
    env.insert(u"PGHOST"_s, parts.queryItemValue(u"host"_s, QUrl::FullyDecoded));
    env.insert(u"PGUSER"_s, QUrl(url).userName());
    env.insert(u"PGDATABASE"_s, u"postgres"_s);
    env.insert(u"PGOPTIONS"_s, parts.queryItemValue(u"options"_s, QUrl::FullyDecoded));
    const QStringList command = {u"grid"_s, u"summary"_s};
    const CliResult viaEnvironment = finish(start(QStringList{u"--db"_s, u"postgresql://"_s} + command, env));
    EXPECT_EQ(viaEnvironment.code, 0) << viaEnvironment.err.toStdString();
    EXPECT_EQ(viaEnvironment.out, run(QStringList{u"--db"_s, file} + command).out);
}

// Two clerks write bank files from the month at once while a third holds rows of it locked in an open
// transaction: nobody waits for anybody, and both files are the one a single clerk gets.
TEST_F(ServerCli, TwoClerksAtOnceNeitherBlocks) {
    slp::data::Database third(url);
    third.beginTransaction();
    EXPECT_GT(third.executeNative(u"UPDATE \"16工资输出数据\" SET \"实发工资\" = \"实发工资\""_s), 0);

    const QString single = home.filePath(u"single.txt"_s);
    ASSERT_EQ(run({u"--db"_s, url, u"card"_s, u"--type"_s, cardType, u"--out"_s, single}).code, 0);
    const QString a = home.filePath(u"a.txt"_s), b = home.filePath(u"b.txt"_s);
    QProcess* first = start({u"--db"_s, url, u"card"_s, u"--type"_s, cardType, u"--out"_s, a});
    QProcess* second = start({u"--db"_s, url, u"card"_s, u"--type"_s, cardType, u"--out"_s, b});
    QProcess* grid = start({u"--db"_s, url, u"grid"_s, u"employee"_s});
    EXPECT_EQ(finish(first).code, 0);
    EXPECT_EQ(finish(second).code, 0);
    EXPECT_EQ(finish(grid).out.count('\n'), 152);  // head, 150 employees, totals
    third.rollback();
    EXPECT_FALSE(contents(single).isEmpty());
    EXPECT_EQ(contents(a), contents(single));
    EXPECT_EQ(contents(b), contents(single));
}

// The server drops the connection in the middle of the card query: the command fails with the
// server's message and the file it was to replace stays as it was.
TEST_F(ServerCli, DroppedConnectionLeavesTheBankFileAlone) {
    slp::data::Database admin(url);
    admin.executeNative(u"ALTER TABLE \"12个人信息\" RENAME TO persons"_s);
    admin.executeNative(
        u"CREATE FUNCTION drop_me() RETURNS boolean LANGUAGE sql VOLATILE AS "
        u"'SELECT pg_terminate_backend(pg_backend_pid())'"_s);
    admin.executeNative(u"CREATE VIEW \"12个人信息\" AS SELECT * FROM persons WHERE drop_me()"_s);

    const QString out = home.filePath(u"card.txt"_s);
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("yesterday's file\n");
    old.close();
    const CliResult r = run({u"--db"_s, url, u"card"_s, u"--type"_s, cardType, u"--out"_s, out});
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.err.contains(u"terminat"_s)) << r.err.toStdString();
    EXPECT_EQ(contents(out), QByteArray("yesterday's file\n"));
    EXPECT_EQ(QDir(home.path()).entryList({u"card.txt*"_s}, QDir::Files), QStringList{u"card.txt"_s});
}

}  // namespace
