#pragma once
// Golden files: the exact texts the code must build, kept under tests/golden as UTF-8, byte for byte,
// blanks at either end included and no line end added. Run the tests with SLP_UPDATE_GOLDEN=1 in the
// environment to rewrite the files from the texts built instead of comparing them; then read
// `git diff tests/golden` before committing (tests/golden/README.md).
#include <gtest/gtest.h>

#include <QString>

namespace slp::test {

// Whether this run rewrites the golden files (SLP_UPDATE_GOLDEN=1).
bool updatingGoldenFiles();

// The text of a golden file, `name` relative to tests/golden; a missing file fails the current test.
QString goldenText(const QString& name);

// Success when `built` is the golden file's text, else a failure naming the file and showing both texts
// and where they first part. When updating, writes `built` to the file instead.
::testing::AssertionResult matchesGolden(const QString& name, const QString& built);

}  // namespace slp::test
