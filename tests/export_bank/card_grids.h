#pragma once
// The card grids of the golden files, as the export window would hand them over.
#include "export/card_input.h"

namespace slp::bank::test {

// Five employees for 牡丹卡 and 浦江卡: 16-digit, 12-digit, 10-digit, blank-surrounded 10-digit and
// 12-digit card numbers; names of 2 and 3 characters, with one blank and with two; a 100000.00 amount.
CardFileInput fiveEmployees();
// The same for 龙卡, with a 19-digit and a blank-surrounded 15-digit card number (written whole).
CardFileInput fiveEmployeesLong();
// Five employees for 白玉兰卡: cards of 18, 16, 10 characters and " 12345 " with its blanks; a name of
// six characters; unit name of 8 characters.
CardFileInput fiveEmployeesBaiyulan();
// Five employees for 邮政卡: cards of 7, 6, 8 and 8 characters and " 12345 "; a 14-digit and a 12-digit fen
// amount, a 5-digit post-office number.
CardFileInput fiveEmployeesPost();
// No rows: head count "0", total "0.00"; unit name of exactly 16 characters.
CardFileInput emptyGrid();

}  // namespace slp::bank::test
