// The demo database: its tables and catalogue, realistic names and cards, amounts that add up, and the
// same content for the same seed.
#include "data/demo_database.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "basic/conversions.h"
#include "basic/scripted_prompts.h"
#include "data/database.h"
#include "data/wage_items.h"
#include "test_files.h"

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

// Every table's rows as text, in a fixed order.
QStringList dump(Database& db) {
    QStringList lines;
    for (const TableDef& t : db.tables()) {
        ResultSet rs = db.openNative(u"SELECT * FROM "_s + quoteIdentifier(t.name) + u" ORDER BY rowid"_s);
        lines << t.name;
        for (int r = 0; r < rs.recordCount(); ++r) {
            rs.setAbsolutePosition(r);
            QStringList cells;
            for (int c = 0; c < rs.fieldCount(); ++c) {
                cells << (rs.isNull(c) ? u"<null>"_s : rs.text(c));
            }
            lines << cells.join(u'|');
        }
    }
    return lines;
}

class DataDemoFile : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new test::TempFolder;
        summary = createDemoDatabase(folder->path(u"demo.db"_s));
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }
    void SetUp() override { db = std::make_unique<Database>(u"sqlite:"_s + folder->path(u"demo.db"_s)); }

    static test::TempFolder* folder;
    static DemoSummary summary;
    std::unique_ptr<Database> db;
};
test::TempFolder* DataDemoFile::folder = nullptr;
DemoSummary DataDemoFile::summary;

TEST_F(DataDemoFile, HasTheFourHostTablesForTheMonth) {
    EXPECT_EQ(summary.employees, 200);
    EXPECT_EQ(summary.departments, 12);
    EXPECT_EQ(summary.items, demoWageItems().size());
    QStringList names;
    for (const TableDef& t : db->tables()) names << t.name;
    EXPECT_EQ(names,
              (QStringList{u"11部门信息"_s, u"12个人信息"_s, u"14工资输出及公式"_s, u"16工资输出数据"_s}));

    ResultSet rs = db->open(u"select * from 16工资输出数据 where 工作年月='2000-04'"_s);
    rs.moveLast();
    EXPECT_EQ(rs.recordCount(), 200);
    rs = db->open(u"select * from 12个人信息"_s);
    EXPECT_EQ(rs.recordCount(), 200);

    // Two-character departments come first, so the code length the windows take is 2.
    rs = db->open(u" select len(部门号) as a from 11部门信息"_s);
    EXPECT_EQ(rs.number(u"a"), 2);
    rs = db->open(u"select 部门号 from 11部门信息 where 工作年月='2000-04'"_s);
    rs.moveLast();
    EXPECT_EQ(rs.recordCount(), summary.departments + summary.groups);
    QSet<QString> codes;
    for (int i = 0; i < rs.recordCount(); ++i) {
        rs.setAbsolutePosition(i);
        codes << rs.text(0);
        EXPECT_EQ(rs.text(0).size(), i < 12 ? 2 : 4);
        if (i >= 12) {
            EXPECT_TRUE(codes.contains(rs.text(0).left(2)));  // every group under its department
        }
    }
    // Every employee's department code is a group of the month.
    rs = db->open(u"select distinct 部门号 from 16工资输出数据"_s);
    for (int i = 0; i < rs.recordCount(); ++i) {
        rs.setAbsolutePosition(i);
        EXPECT_TRUE(codes.contains(rs.text(0))) << rs.text(0).toStdString();
    }
}

TEST_F(DataDemoFile, CatalogueLoadsWithThreeTextItemsAndTheNetPayLast) {
    ScriptedPrompts prompts;
    WageCatalogue c;
    ASSERT_TRUE(LoadWageItems(*db, u"2000-04"_s, prompts, c));
    EXPECT_EQ(c.itemCount, summary.items);
    EXPECT_GE(c.itemCount, 26);
    EXPECT_EQ(c.itemName.mid(0, 3), (QStringList{u"部门"_s, u"工号"_s, u"姓名"_s}));
    EXPECT_EQ(c.firstAmountIndex, 3);
    EXPECT_EQ(c.itemName.last(), u"实发工资"_s);
    EXPECT_EQ(c.itemWidth[0], 6);  // 部门: 12 half-width characters
    EXPECT_EQ(c.itemWidth[2], 5);  // 姓名: 10, room for three Chinese characters
    int twoPlaces = 0;
    for (int i = 3; i < c.itemCount; ++i) {
        twoPlaces += c.itemFormat[i] == u"0.00"_s;
        EXPECT_FALSE(c.itemFormat[i].isEmpty());
    }
    EXPECT_GT(twoPlaces, c.itemCount - 3 - 5);  // mostly two places, a few 0 or 1
    EXPECT_LT(twoPlaces, c.itemCount - 3);
    // Every item has its wage column.
    QStringList columns;
    for (const QString& n : c.itemName) columns << u'[' + n + u']';
    ResultSet rs = db->open(u"select "_s + columns.join(u',') +
                            u" from 16工资输出数据 where 工作年月='2000-04' order by 部门号"_s);
    EXPECT_EQ(rs.fieldCount(), c.itemCount);
}

TEST_F(DataDemoFile, AmountsAddUp) {
    const QList<DemoItem> items = demoWageItems();
    const auto index = [&](const QString& name) {
        for (int i = 0; i < items.size(); ++i)
            if (items[i].name == name) return i;
        return -1;
    };
    const int gross = index(u"应发工资"_s);
    const int deductions = index(u"扣款合计"_s);
    const int taxable = index(u"计税工资"_s);
    const int tax = index(u"个人所得税"_s);
    const int net = index(u"实发工资"_s);
    ASSERT_EQ(net, items.size() - 1);
    ResultSet rs = db->open(u"select * from 16工资输出数据"_s);
    int empty = 0;
    int nulls = 0;
    int zeros = 0;
    for (int r = 0; r < rs.recordCount(); ++r) {
        rs.setAbsolutePosition(r);
        // Amounts in cents, read the host's way: the leading numeric value of the text, empty and null 0.
        const auto cents = [&](int item) {
            return int64_t(roundHalfEven(rs.number(items[item].name) * 100));
        };
        int64_t earnings = 0;
        for (int i = 3; i < gross; ++i) earnings += cents(i);
        int64_t taken = 0;
        for (int i = gross + 1; i < deductions; ++i) taken += cents(i);
        EXPECT_EQ(cents(gross), earnings);
        EXPECT_EQ(cents(deductions), taken);
        EXPECT_EQ(cents(taxable),
                  cents(gross) - cents(gross + 1) - cents(gross + 2) - cents(gross + 3) - cents(gross + 4));
        EXPECT_EQ(cents(net), cents(gross) - cents(deductions) - cents(tax));
        EXPECT_GE(cents(tax), 0);
        EXPECT_GT(cents(net), 0);
        for (int i = 3; i < items.size(); ++i) {
            const Value v = rs.value(items[i].name);
            empty += v.isText() && v.textValue().isEmpty();
            nulls += v.isNull();
            zeros += v.isText() && v.textValue() == u"0"_s;
            if (v.isText() && !v.textValue().isEmpty()) {
                EXPECT_TRUE(isNumericText(v.textValue())) << v.textValue().toStdString();
                // Stored with no more places than the item shows.
                const qsizetype dot = v.textValue().indexOf(u'.');
                if (dot >= 0) {
                    EXPECT_LE(v.textValue().size() - dot - 1, items[i].decimals);
                }
            }
        }
    }
    EXPECT_GT(empty, 0);
    EXPECT_GT(nulls, 0);
    EXPECT_GT(zeros, 0);
}

TEST_F(DataDemoFile, NamesNumbersAndCardsLookReal) {
    ResultSet rs = db->open(u"select 工号, 姓名, 信用卡号 from 12个人信息"_s);
    const QRegularExpression cjk(uR"(^\p{Han}+( \p{Han})?$)"_s);
    int withBlank = 0;
    int twoCharacters = 0;
    int threeCharacters = 0;
    int noCard = 0;
    QSet<QString> numbers;
    for (int r = 0; r < rs.recordCount(); ++r) {
        rs.setAbsolutePosition(r);
        const QString name = rs.text(u"姓名");
        EXPECT_TRUE(cjk.match(name).hasMatch()) << name.toStdString();
        withBlank += name.contains(u' ');
        twoCharacters += name.size() == 2;
        threeCharacters += name.size() == 3 && !name.contains(u' ');
        numbers << rs.text(u"工号");
        EXPECT_EQ(rs.text(u"工号").size(), 4);
        const QString card = rs.text(u"信用卡号");
        if (card.isEmpty()) {
            ++noCard;
        } else {
            EXPECT_TRUE(card.size() == 16 || card.size() == 19) << card.toStdString();
            EXPECT_TRUE(isNumericText(card));
        }
    }
    EXPECT_EQ(numbers.size(), 200);
    EXPECT_TRUE(numbers.contains(u"0001"_s));
    EXPECT_EQ(withBlank, 1);
    EXPECT_GT(twoCharacters, 0);
    EXPECT_GT(threeCharacters, 0);
    EXPECT_GT(noCard, 0);
    EXPECT_LT(noCard, 20);
}

TEST(DataDemo, SameSeedSameContentAndOtherSeedsDiffer) {
    test::TempFolder folder;
    DemoOptions options;
    options.employees = 60;
    options.month = u"2001-12"_s;
    options.seed = 7;
    createDemoDatabase(folder.path(u"a.db"_s), options);
    createDemoDatabase(folder.path(u"b.db"_s), options);
    options.seed = 8;
    createDemoDatabase(folder.path(u"c.db"_s), options);
    Database a(u"sqlite:"_s + folder.path(u"a.db"_s));
    Database b(u"sqlite:"_s + folder.path(u"b.db"_s));
    Database c(u"sqlite:"_s + folder.path(u"c.db"_s));
    const QStringList dumpA = dump(a);
    EXPECT_GT(dumpA.size(), 60 * 2);
    EXPECT_EQ(dumpA, dump(b));
    EXPECT_NE(dumpA, dump(c));
    ResultSet rs = a.open(u"select count(*) as n from 16工资输出数据 where 工作年月='2001-12'"_s);
    EXPECT_EQ(rs.number(u"n"), 60);
}

TEST(DataDemo, AnExistingFileIsOnlyReplacedWhenAsked) {
    test::TempFolder folder;
    const QString path = folder.path(u"host.db"_s);
    DemoOptions options;
    options.employees = 3;
    createDemoDatabase(path, options);
    EXPECT_THROW(createDemoDatabase(path, options), DatabaseError);
    options.replace = true;
    options.employees = 5;
    EXPECT_EQ(createDemoDatabase(path, options).employees, 5);
    Database db(u"sqlite:"_s + path);
    EXPECT_EQ(db.open(u"select * from 12个人信息"_s).recordCount(), 5);
}

TEST(DataDemo, LargeUnitsAreWrittenQuickly) {
    Database db(u"sqlite::memory:"_s);
    DemoOptions options;
    options.employees = 20000;
    const DemoSummary s = writeDemoData(db, options);
    EXPECT_EQ(s.employees, 20000);
    ResultSet rs = db.open(u"select 工号 from 12个人信息 where 姓名='王 芳'"_s);
    EXPECT_EQ(rs.text(0), u"00003"_s);  // numbers widen with the unit
}

}  // namespace
}  // namespace slp::data

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

// The narrow month: 11 items whose widths fit A4 portrait at 9 points, amounts that add up, and the same
// people, groups and earnings as the wide month of the same seed.
TEST(DataDemo, NarrowMonthHasElevenItemsThatAddUpAndTheWideMonthsPeople) {
    test::TempFolder folder;
    DemoOptions options;
    options.employees = 40;
    createDemoDatabase(folder.path(u"wide.db"_s), options);
    options.narrow = true;
    const DemoSummary summary = createDemoDatabase(folder.path(u"narrow.db"_s), options);
    EXPECT_EQ(summary.items, 11);
    Database wide(u"sqlite:"_s + folder.path(u"wide.db"_s));
    Database narrow(u"sqlite:"_s + folder.path(u"narrow.db"_s));
    ScriptedPrompts prompts;
    WageCatalogue c;
    ASSERT_TRUE(LoadWageItems(narrow, u"2000-04"_s, prompts, c));
    EXPECT_EQ(c.itemName,
              (QStringList{u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"岗位工资"_s, u"津贴补贴"_s,
                           u"应发工资"_s, u"社会保险"_s, u"住房公积金"_s, u"个人所得税"_s, u"实发工资"_s}));
    EXPECT_EQ(c.firstAmountIndex, 3);
    int characters = 3;  // the sequence number column
    for (int16_t w : c.itemWidth) characters += w;
    // 11,106 twips of A4 portrait at 180 twips a character of 9 points.
    EXPECT_LE(characters * 180, 11106);
    // Departments, groups and persons alike.
    const auto people = [](Database& db) {
        QStringList lines = dump(db);
        return lines.mid(0, lines.indexOf(u"14工资输出及公式"_s));
    };
    EXPECT_GT(people(wide).size(), 12 + 30 + 40);
    EXPECT_EQ(people(wide), people(narrow));

    ResultSet n = narrow.open(u"select * from 16工资输出数据 order by rowid"_s);
    ResultSet w = wide.open(u"select * from 16工资输出数据 order by rowid"_s);
    ASSERT_EQ(n.recordCount(), 40);
    for (int r = 0; r < n.recordCount(); ++r) {
        n.setAbsolutePosition(r);
        w.setAbsolutePosition(r);
        const auto cents = [](ResultSet& rs, const char16_t* item) {
            return int64_t(roundHalfEven(rs.number(item) * 100));
        };
        EXPECT_EQ(n.text(u"姓名"), w.text(u"姓名"));
        EXPECT_EQ(cents(n, u"应发工资"), cents(w, u"应发工资"));
        EXPECT_EQ(cents(n, u"基本工资") + cents(n, u"岗位工资") + cents(n, u"津贴补贴"),
                  cents(n, u"应发工资"));
        EXPECT_EQ(cents(n, u"社会保险"),
                  cents(w, u"养老保险") + cents(w, u"医疗保险") + cents(w, u"失业保险"));
        EXPECT_EQ(cents(n, u"个人所得税"), cents(w, u"个人所得税"));
        EXPECT_EQ(cents(n, u"实发工资"), cents(n, u"应发工资") - cents(n, u"社会保险") -
                                             cents(n, u"住房公积金") - cents(n, u"个人所得税"));
        EXPECT_GT(cents(n, u"实发工资"), 0);
    }
}

}  // namespace
}  // namespace slp::data
