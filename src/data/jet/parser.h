#pragma once
// Reads a query text of the host engine's dialect into a syntax tree.
#include <QStringView>

#include "data/jet/syntax_tree.h"

namespace slp::jet {

// Parses one SELECT or DELETE statement (an optional ';' may end it). Throws SyntaxError naming the
// 1-based position and the token where the text stops making sense, for unknown functions and for
// columns used outside the aggregates and groups of an aggregate query.
Statement parse(QStringView text);

}  // namespace slp::jet
