#pragma once
// Expected bytes of a card file, read from a hand-written .golden file of tests/data/bank (its notation
// is described in README.txt there). Chinese characters are encoded by Qt's own GBK codec, not by the
// writers' iconv, so the two have to agree.
#include <QByteArray>
#include <QString>

namespace slp::bank::test {

// Throws std::runtime_error when the file is missing or its notation is broken.
QByteArray goldenBytes(const QString& fileName);
// The notation itself, for expected bytes written inside a test.
QByteArray parseGolden(const QString& notation);
// The bytes shown readably for failure messages: printable ASCII as is, others as \xHH.
std::string showBytes(const QByteArray& bytes);

}  // namespace slp::bank::test
