#include "data/demo_database.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <array>
#include <cerrno>
#include <optional>

#include "basic/file_replace.h"
#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp::data {

namespace {

// splitmix64: small, fast and the same on every platform and library.
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number in [low, high].
    int64_t range(int64_t low, int64_t high) { return low + int64_t(next() % uint64_t(high - low + 1)); }
    // True with the given chance in percent.
    bool chance(int percent) { return range(1, 100) <= percent; }
    template <class T, size_t N>
    const T& pick(const std::array<T, N>& list) {
        return list[size_t(next() % N)];
    }

  private:
    uint64_t state_;
};

constexpr std::array<const char16_t*, 12> kDepartments = {u"办公室", u"财务部", u"人事部",     u"销售部",
                                                          u"市场部", u"采购部", u"生产一车间", u"生产二车间",
                                                          u"质检部", u"技术部", u"仓储部",     u"后勤部"};
constexpr std::array<const char16_t*, 3> kGroupSuffixes = {u"一组", u"二组", u"三组"};

constexpr std::array<const char16_t*, 60> kSurnames = {
    u"王", u"李", u"张", u"刘", u"陈", u"杨", u"黄", u"赵", u"吴", u"周", u"徐", u"孙",
    u"马", u"朱", u"胡", u"郭", u"何", u"高", u"林", u"罗", u"郑", u"梁", u"谢", u"宋",
    u"唐", u"许", u"韩", u"冯", u"邓", u"曹", u"彭", u"曾", u"肖", u"田", u"董", u"袁",
    u"潘", u"于", u"蒋", u"蔡", u"余", u"杜", u"叶", u"程", u"苏", u"魏", u"吕", u"丁",
    u"任", u"沈", u"姚", u"卢", u"姜", u"崔", u"钟", u"谭", u"陆", u"汪", u"范", u"欧阳"};
constexpr std::array<const char16_t*, 64> kGiven = {
    u"伟", u"芳", u"娜", u"敏", u"静", u"丽", u"强", u"磊", u"军", u"洋", u"勇", u"艳", u"杰",
    u"娟", u"涛", u"明", u"超", u"霞", u"平", u"刚", u"辉", u"玲", u"鹏", u"华", u"红", u"建",
    u"国", u"文", u"斌", u"宇", u"浩", u"凯", u"健", u"俊", u"帆", u"旭", u"宁", u"龙", u"林",
    u"欣", u"佳", u"琳", u"婷", u"雪", u"慧", u"莉", u"颖", u"倩", u"云", u"峰", u"波", u"亮",
    u"飞", u"鑫", u"晨", u"阳", u"丹", u"萍", u"燕", u"梅", u"兰", u"英", u"志", u"春"};

// Item indexes into demoWageItems().
enum Item {
    Dept,
    Number,
    Name,
    Basic,
    Post,
    Seniority,
    Duty,
    Transport,
    Phone,
    Housing,
    Meals,
    Overtime,
    Bonus,
    Merit,
    OtherPay,
    Gross,
    Pension,
    Medical,
    Unemployment,
    HousingFund,
    Union,
    SickLeave,
    Absence,
    OtherDeduction,
    Deductions,
    Taxable,
    Tax,
    Net,
    ItemCount
};

// Cents as the host keeps amounts in its text columns: plain decimal text, no trailing zeros.
QString amountText(int64_t cents) {
    const bool negative = cents < 0;
    const uint64_t a = uint64_t(negative ? -cents : cents);
    QString text = QString::number(a / 100);
    const uint64_t fraction = a % 100;
    if (fraction != 0) {
        text += u'.';
        text += QChar(u'0' + char16_t(fraction / 10));
        if (fraction % 10 != 0) text += QChar(u'0' + char16_t(fraction % 10));
    }
    return negative ? u'-' + text : text;
}

// Percent of an amount in cents, rounded half up to the cent.
int64_t percentOf(int64_t cents, int64_t tenthsOfPercent) {
    return (cents * tenthsOfPercent + 500) / 1000;
}

// Monthly income tax of the time: 800 yuan free, then the progressive table.
int64_t incomeTax(int64_t taxableCents) {
    const int64_t over = taxableCents - 80000;
    if (over <= 0) return 0;
    struct Step {
        int64_t upTo;
        int64_t percent;
        int64_t quickDeduction;
    };
    constexpr std::array<Step, 9> table = {{{50000, 5, 0},
                                            {200000, 10, 2500},
                                            {500000, 15, 12500},
                                            {2000000, 20, 37500},
                                            {4000000, 25, 137500},
                                            {6000000, 30, 337500},
                                            {8000000, 35, 637500},
                                            {10000000, 40, 1037500},
                                            {INT64_MAX, 45, 1537500}}};
    for (const Step& s : table) {
        if (over <= s.upTo) return (over * s.percent + 50) / 100 - s.quickDeduction;
    }
    return 0;
}

QString cardNumber(Random& random) {
    QString digits = random.chance(50) ? u"955880"_s : u"6222021"_s;
    const int length = digits.size() == 6 ? 16 : 19;
    while (digits.size() < length) digits += QChar(u'0' + char16_t(random.range(0, 9)));
    return digits;
}

QString personName(Random& random, int index) {
    // Two fixed names so every database has a two-character name and one padded with a blank.
    if (index == 1) return u"李娜"_s;
    if (index == 2) return u"王 芳"_s;
    QString name = QString::fromUtf16(random.pick(kSurnames));
    name += QString::fromUtf16(random.pick(kGiven));
    if (name.size() < 3 && random.chance(65)) name += QString::fromUtf16(random.pick(kGiven));
    return name;
}

// The address of employee `index` (from 0) for the electronic slips: one under example.com made of the
// 工号, none for every twelfth employee from the sixth on (no mail yet). It draws nothing from the
// generator, so every other value of the demo month stays as it was.
Value demoMailAddress(int index, const QString& number) {
    if (index % 12 == 5) return Value();
    return Value(u"emp"_s + number + u"@example.com"_s);
}

void createTables(Database& db, const QList<DemoItem>& items) {
    const auto text = [](const QString& name) { return FieldDef{name, FieldType::Text, 0, {}}; };
    const auto number = [](const QString& name) { return FieldDef{name, FieldType::Long, 0, {}}; };
    db.createTable({u"11部门信息"_s, {text(u"部门号"_s), text(u"部门名称"_s), text(u"工作年月"_s)}});
    db.createTable(
        {u"12个人信息"_s,
         {text(u"工号"_s), text(u"姓名"_s), text(u"部门号"_s), text(u"信用卡号"_s), text(u"电子邮件"_s)}});
    db.createTable({u"14工资输出及公式"_s,
                    {text(u"工作年月"_s), number(u"项目序号"_s), text(u"项目名称"_s), number(u"小数位数"_s),
                     number(u"打印宽度"_s), text(u"计算公式"_s)}});
    TableDef wages{u"16工资输出数据"_s, {text(u"工作年月"_s), text(u"部门号"_s)}};
    for (const DemoItem& item : items) wages.fields << text(item.name);
    db.createTable(wages);
}

QString formulaOf(int item, const QList<DemoItem>& items) {
    const auto sum = [&](int from, int to) {
        QStringList parts;
        for (int i = from; i <= to; ++i) parts << u'[' + items[i].name + u']';
        return parts.join(u'+');
    };
    switch (item) {
        case Gross:
            return sum(Basic, OtherPay);
        case Deductions:
            return sum(Pension, OtherDeduction);
        case Taxable:
            return u"[应发工资]-[养老保险]-[医疗保险]-[失业保险]-[住房公积金]"_s;
        case Tax:
            return u"个税([计税工资]-800)"_s;
        case Net:
            return u"[应发工资]-[扣款合计]-[个人所得税]"_s;
        default:
            return QString();
    }
}

QString narrowFormulaOf(int item) {
    switch (item) {
        case 6:
            return u"[基本工资]+[岗位工资]+[津贴补贴]"_s;
        case 9:
            return u"个税([应发工资]-[社会保险]-[住房公积金]-800)"_s;
        case 10:
            return u"[应发工资]-[社会保险]-[住房公积金]-[个人所得税]"_s;
        default:
            return QString();
    }
}

// The amounts of the narrow catalogue (from 基本工资 on) from those of the wide one.
std::array<int64_t, 8> narrowAmounts(const std::array<int64_t, ItemCount>& cents) {
    const int64_t insurance = cents[Pension] + cents[Medical] + cents[Unemployment];
    return {cents[Basic],
            cents[Post],
            cents[Gross] - cents[Basic] - cents[Post],
            cents[Gross],
            insurance,
            cents[HousingFund],
            cents[Tax],
            cents[Gross] - insurance - cents[HousingFund] - cents[Tax]};
}

}  // namespace

QList<DemoItem> narrowDemoWageItems() {
    // 姓名 holds three Chinese characters with room to spare, so that 工号 never runs into it; the
    // table keeps its width (it fits A4 portrait at the default font).
    return {{u"部门"_s, 0, 14},       {u"工号"_s, 0, 6},      {u"姓名"_s, 0, 10},
            {u"基本工资"_s, 2, 10},   {u"岗位工资"_s, 2, 10}, {u"津贴补贴"_s, 2, 10},
            {u"应发工资"_s, 2, 10},   {u"社会保险"_s, 2, 10}, {u"住房公积金"_s, 2, 12},
            {u"个人所得税"_s, 2, 12}, {u"实发工资"_s, 2, 12}};
}

QList<DemoItem> demoWageItems() {
    return {
        {u"部门"_s, 0, 12},     {u"工号"_s, 0, 8},      {u"姓名"_s, 0, 10},       {u"基本工资"_s, 2, 10},
        {u"岗位工资"_s, 2, 10}, {u"工龄工资"_s, 0, 8},  {u"职务津贴"_s, 2, 10},   {u"交通补贴"_s, 2, 9},
        {u"通讯补贴"_s, 0, 9},  {u"住房补贴"_s, 2, 10}, {u"伙食补贴"_s, 2, 9},    {u"加班费"_s, 1, 10},
        {u"奖金"_s, 2, 10},     {u"绩效工资"_s, 2, 10}, {u"其他补贴"_s, 2, 11},   {u"应发工资"_s, 2, 10},
        {u"养老保险"_s, 2, 10}, {u"医疗保险"_s, 2, 10}, {u"失业保险"_s, 2, 9},    {u"住房公积金"_s, 2, 11},
        {u"工会会费"_s, 1, 8},  {u"病假扣款"_s, 2, 10}, {u"事假扣款"_s, 2, 10},   {u"其他扣款"_s, 2, 9},
        {u"扣款合计"_s, 2, 12}, {u"计税工资"_s, 2, 11}, {u"个人所得税"_s, 2, 11}, {u"实发工资"_s, 2, 12}};
}

DemoSummary writeDemoData(Database& db, const DemoOptions& options) {
    const QList<DemoItem> items = options.narrow ? narrowDemoWageItems() : demoWageItems();
    Random random(options.seed);
    DemoSummary summary;
    Transaction transaction(db);
    createTables(db, items);

    // Departments first, then their groups: the code length the windows group by is that of the first row.
    QStringList groupCodes;
    QStringList groupNames;
    {
        RowWriter writer(db, u"11部门信息"_s, {u"部门号"_s, u"部门名称"_s, u"工作年月"_s});
        for (size_t d = 0; d < kDepartments.size(); ++d) {
            const QString code = QString::number(d + 1).rightJustified(2, u'0');
            writer.add({code, QString::fromUtf16(kDepartments[d]), options.month});
            ++summary.departments;
        }
        for (size_t d = 0; d < kDepartments.size(); ++d) {
            const size_t groups = 2 + d % 2;
            for (size_t g = 0; g < groups; ++g) {
                const QString code = QString::number(d + 1).rightJustified(2, u'0') +
                                     QString::number(g + 1).rightJustified(2, u'0');
                const QString name =
                    QString::fromUtf16(kDepartments[d]) + QString::fromUtf16(kGroupSuffixes[g]);
                writer.add({code, name, options.month});
                groupCodes << code;
                groupNames << name;
                ++summary.groups;
            }
        }
    }
    {
        RowWriter writer(
            db, u"14工资输出及公式"_s,
            {u"工作年月"_s, u"项目序号"_s, u"项目名称"_s, u"小数位数"_s, u"打印宽度"_s, u"计算公式"_s});
        for (int i = 0; i < items.size(); ++i) {
            writer.add({options.month, Value::integer(i + 1), items[i].name,
                        Value::integer(items[i].decimals), Value::integer(items[i].printWidth),
                        options.narrow ? narrowFormulaOf(i) : formulaOf(i, items)});
        }
        summary.items = int(items.size());
    }

    QStringList wageColumns{u"工作年月"_s, u"部门号"_s};
    for (const DemoItem& item : items) wageColumns << item.name;
    RowWriter persons(db, u"12个人信息"_s, {u"工号"_s, u"姓名"_s, u"部门号"_s, u"信用卡号"_s, u"电子邮件"_s});
    RowWriter wages(db, u"16工资输出数据"_s, wageColumns);
    const int numberWidth = std::max(4, int(QString::number(options.employees).size()));
    std::array<int64_t, ItemCount> cents{};
    QList<Value> row;
    for (int e = 0; e < options.employees; ++e) {
        const int group = int(random.range(0, groupCodes.size() - 1));
        const QString number = QString::number(e + 1).rightJustified(numberWidth, u'0');
        const QString name = personName(random, e);
        Value card = cardNumber(random);
        if (random.chance(3)) card = Value();  // no card yet
        if (e == 4) card = u""_s;              // a card field left empty
        persons.add({number, name, groupCodes[size_t(group)], card, demoMailAddress(e, number)});

        cents.fill(0);
        cents[Basic] = random.range(120, 400) * 1000;
        cents[Post] = random.range(30, 200) * 1000;
        cents[Seniority] = random.range(0, 35) * 2000;
        cents[Duty] = random.chance(20) ? random.range(20, 100) * 1000 : 0;
        cents[Transport] = random.range(2, 4) * 5000;
        cents[Phone] = random.range(0, 2) * 5000;
        cents[Housing] = random.range(300, 800) * 100;
        cents[Meals] = 22000;
        cents[Overtime] = random.chance(45) ? random.range(1, 40) * 2250 : 0;
        cents[Bonus] = random.chance(70) ? random.range(0, 3000) * 100 : 0;
        cents[Merit] = random.range(20000, 150000);
        cents[OtherPay] = random.chance(10) ? random.range(50, 500) * 100 : 0;
        for (int i = Basic; i < Gross; ++i) cents[Gross] += cents[size_t(i)];
        const int64_t base = cents[Basic] + cents[Post];
        cents[Pension] = percentOf(base, 80);
        cents[Medical] = percentOf(base, 20) + 300;
        cents[Unemployment] = percentOf(base, 5);
        cents[HousingFund] = (base / 10 + 50) / 100 * 100;
        cents[Union] = (cents[Basic] / 200 + 5) / 10 * 10;
        cents[SickLeave] = random.chance(8) ? random.range(1, 5) * cents[Basic] / 22 : 0;
        cents[Absence] = random.chance(6) ? random.range(1, 3) * cents[Basic] / 22 : 0;
        cents[OtherDeduction] = random.chance(5) ? random.range(10, 200) * 100 : 0;
        for (int i = Pension; i < Deductions; ++i) cents[Deductions] += cents[size_t(i)];
        cents[Taxable] =
            cents[Gross] - cents[Pension] - cents[Medical] - cents[Unemployment] - cents[HousingFund];
        cents[Tax] = incomeTax(cents[Taxable]);
        cents[Net] = cents[Gross] - cents[Deductions] - cents[Tax];

        row.clear();
        row << options.month << groupCodes[size_t(group)] << groupNames[size_t(group)] << number << name;
        if (options.narrow) {
            for (const int64_t c : narrowAmounts(cents)) row << amountText(c);
            wages.add(row);
            ++summary.employees;
            continue;
        }
        for (int i = Basic; i < ItemCount; ++i) {
            const int64_t c = cents[size_t(i)];
            // Zero is stored three ways, as in real months: empty text, no value, or "0".
            if (c == 0 && (i == Overtime || i == OtherDeduction)) {
                row << u""_s;
            } else if (c == 0 && i == SickLeave) {
                row << Value();
            } else {
                row << amountText(c);
            }
        }
        wages.add(row);
        ++summary.employees;
    }
    transaction.commit();
    return summary;
}

DemoSummary createDemoDatabase(const QString& path, const DemoOptions& options) {
    if (QFileInfo::exists(path) && !options.replace) {
        throw DatabaseError(errnum::Database, u"文件已存在,不能覆盖: "_s + path);
    }
    // Built under a temporary name beside the file and renamed over it only when complete: a full
    // disk leaves an existing database as it was.
    std::optional<FileReplacement> file;
    try {
        file.emplace(path);
        file->close();
    } catch (const FileWriteError& e) {
        throw DatabaseError(e.number(), u"无法写入文件: "_s + path + u"（"_s + e.description() + u"）"_s);
    }
    const QString journal = file->temporaryPath() + u"-journal"_s;
    const TrackedTemporary journalUnderWay(QFile::encodeName(journal));
    try {
        DemoSummary summary;
        {
            Database::Options open;
            open.createIfMissing = true;
            Database db(u"sqlite:"_s + file->temporaryPath(), open);
            try {
                summary = writeDemoData(db, options);
            } catch (const DatabaseError& e) {
                // The engine says "disk I/O error"; the system's reason says which.
                sqlite3* handle = db.sqliteHandle();
                int system = handle ? sqlite3_system_errno(handle) : 0;
                // A full disk is SQLITE_FULL, whose text survives the rollback that clears the code.
                if (system == 0 && e.description().contains(QString::fromUtf8(sqlite3_errstr(SQLITE_FULL)))) {
                    system = ENOSPC;
                }
                if (system == 0) throw;
                throw DatabaseError(e.number(), e.description() + u"（"_s + systemReason(system) + u"）"_s,
                                    e.query(), e.engineQuery(), e.engineCode());
            }
        }
        file->commit();
        return summary;
    } catch (const FileWriteError& e) {
        QFile::remove(journal);
        throw DatabaseError(e.number(), u"无法写入文件: "_s + path + u"（"_s + e.description() + u"）"_s);
    } catch (...) {
        file->discard();
        QFile::remove(journal);
        throw;
    }
}

}  // namespace slp::data
