#pragma once
// The throw-away PostgreSQL server of the tests. Under ctest one cluster serves the whole run (the
// pg_cluster fixture, its state file named by SLP_TEST_PG_STATE); a test executable run by itself
// starts its own through the gtest environment below. Each test works in a schema of its own.
#include <gtest/gtest.h>

#include <QString>
#include <optional>

namespace slp::test {

// The server's URL, or nullopt with the reason it is not there in *reason.
std::optional<QString> testServerUrl(QString* reason);

// A new empty schema on the test server and the URL whose connections work in it; nullopt (with the
// reason) when there is no server. Call through SLP_REQUIRE_SERVER.
std::optional<QString> freshSchemaUrl(QString* reason);

}  // namespace slp::test

// Skips the current test, loudly, when there is no test server; otherwise sets `url`.
#define SLP_REQUIRE_SERVER(url)                                                             \
    QString url;                                                                            \
    {                                                                                       \
        QString reason_;                                                                    \
        const std::optional<QString> found_ = slp::test::freshSchemaUrl(&reason_);          \
        if (!found_) GTEST_SKIP() << "PostgreSQL tests skipped: " << reason_.toStdString(); \
        url = *found_;                                                                      \
    }
