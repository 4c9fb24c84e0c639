#pragma once
// The names of the printer's paper sizes, by the paper size code, as the preview's status bar shows them.
#include <QPageSize>
#include <QString>

namespace slp::print {

// Code of a paper size the user defined; its name gives the size in inches.
inline constexpr int kUserDefinedPaper = 256;

// The name of a paper size code. Code 256 gives "用户定义,  " and the paper's width and height in inches
// ("#.##"); an unknown code gives "未定义". Width and height in twips.
QString PaperSizeName(int code, float paperWidth, float paperHeight);

// The paper size code of a Qt page size: its DMPAPER number, 256 for a size without one.
int paperSizeCodeOf(const QPageSize& size);

}  // namespace slp::print
