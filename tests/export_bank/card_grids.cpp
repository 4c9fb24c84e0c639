#include "card_grids.h"

using namespace Qt::StringLiterals;

namespace slp::bank::test {

CardFileInput fiveEmployees() {
    CardFileInput in;
    in.unitCode = u" 12345 "_s;
    in.creditDate = u"2000-04-25"_s;
    in.headCount = u"5"_s;
    in.totalAmount = u"101254.91"_s;
    in.unitName = u"朔岚软件有限公司"_s;
    in.rows = {
        {u"张三"_s, u"1234567890123456"_s, u"1234.56"_s}, {u"欧阳修"_s, u"955880123456"_s, u"0.05"_s},
        {u"王 五"_s, u"6222000111"_s, u"100000.00"_s},    {u"李  四"_s, u" 1234567890 "_s, u"12.30"_s},
        {u"赵六"_s, u"123456789012"_s, u"8.00"_s},
    };
    return in;
}

CardFileInput fiveEmployeesLong() {
    CardFileInput in = fiveEmployees();
    in.rows.setCardNumber(1, u"9558801234567890123");
    in.rows.setCardNumber(3, u" 123456789012345 ");
    return in;
}

CardFileInput fiveEmployeesBaiyulan() {
    CardFileInput in;
    in.unitCode = u" 330100 "_s;
    in.creditDate = u"2000-4-5"_s;
    in.headCount = u"5"_s;
    in.totalAmount = u"101296.91"_s;
    in.unitName = u"朔岚软件有限公司"_s;
    in.rows = {
        {u"张三"_s, u"622848001000000001"_s, u"1234.56"_s},
        {u"欧阳修"_s, u"1234567890123456"_s, u"0.05"_s},
        {u"王 五"_s, u"6222000111"_s, u"100000.00"_s},
        {u"李  四"_s, u" 12345 "_s, u"12.30"_s},
        {u"爱新觉罗溥仪"_s, u"9558801234567890"_s, u"50.00"_s},
    };
    return in;
}

CardFileInput fiveEmployeesPost() {
    CardFileInput in;
    in.unitCode = u"  31001 "_s;
    in.creditDate = u"2000-04-25"_s;
    in.headCount = u"5"_s;
    in.totalAmount = u"133456890246.94"_s;
    in.unitName = u"朔岚软件有限公司"_s;
    in.rows = {
        {u"张三"_s, u"1234567"_s, u"1234.56"_s},
        {u"欧阳修"_s, u"955880"_s, u"0.05"_s},
        {u"王 五"_s, u"62220001"_s, u"100000.00"_s},
        {u"李  四"_s, u" 12345 "_s, u"123456789012.34"_s},
        {u"爱新觉罗"_s, u"62284800"_s, u"9999999999.99"_s},
    };
    return in;
}

CardFileInput emptyGrid() {
    CardFileInput in;
    in.unitCode = u"12345"_s;
    in.creditDate = u"2000-04-25"_s;
    in.headCount = u"0"_s;
    in.totalAmount = u"0.00"_s;
    in.unitName = u"上海市朔岚软件开发有限公司财务部"_s;
    return in;
}

}  // namespace slp::bank::test
