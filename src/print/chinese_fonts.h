#pragma once
// The three faces the printed pages name (宋体, 黑体, 隶书) and the free faces that stand in for them.
#include <QString>
#include <QStringList>

namespace slp::print {

// The faces that stand in for a named face, best first; empty for a face without substitutes.
QStringList chineseFontSubstitutes(const QString& face);

// Registers the substitutes with Qt's font matching. Call once at start-up after the application
// object exists; calling it again changes nothing.
void registerChineseFontSubstitutes();

// Whether a face can be drawn: an installed family, or a name with an installed substitute.
bool fontFaceAvailable(const QString& face);

}  // namespace slp::print
