#pragma once
// A private folder per test and a SQLite file in it with the host's wage tables.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "data/database.h"

namespace slp::data::test {

using namespace Qt::StringLiterals;

class TempFolder {
  public:
    TempFolder() { EXPECT_TRUE(dir_.isValid()); }
    QString path(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

// A new, empty SQLite file database.
inline std::unique_ptr<Database> newDatabase(const TempFolder& folder, const QString& name = u"wage.db"_s,
                                             bool generic = false) {
    Database::Options options;
    options.createIfMissing = true;
    options.genericQtSql = generic;
    return std::make_unique<Database>(u"sqlite:"_s + folder.path(name), options);
}

}  // namespace slp::data::test
