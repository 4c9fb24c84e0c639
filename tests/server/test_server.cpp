#include "test_server.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <memory>

#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp::test {

namespace {

struct ServerState {
    std::optional<QString> url;
    QString reason = u"the test server environment was not set up"_s;
    QString ownStateFile;  // set when this process started the cluster itself
};

ServerState& state() {
    static ServerState s;
    return s;
}

// Reads the state file pg_cluster.sh wrote.
void readState(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        state().reason = u"no cluster state in "_s + path;
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        if (line.startsWith(u"url "_s)) state().url = line.mid(4);
        if (line.startsWith(u"skip "_s)) state().reason = line.mid(5);
    }
}

// Whether the state file names a cluster whose socket is in place.
bool clusterRunning(const QString& stateFile) {
    QFile file(stateFile);
    if (!file.open(QIODevice::ReadOnly)) return false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.startsWith(u"dir "_s)) continue;
        return !QDir(line.mid(4)).entryList({u".s.PGSQL.*"_s}, QDir::System | QDir::Hidden).isEmpty();
    }
    return false;
}

class ServerEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        QString given = qEnvironmentVariable("SLP_TEST_PG_STATE");
        // Under ctest the pg_cluster fixture has started one cluster for the whole run and written its
        // state in the build folder; it is used while that cluster's socket is there.
        if (given.isEmpty() && clusterRunning(QStringLiteral(SLP_PG_STATE_FILE)))
            given = QStringLiteral(SLP_PG_STATE_FILE);
        if (!given.isEmpty()) {
            readState(given);
            return;
        }
        dir_ = std::make_unique<QTemporaryDir>();
        state().ownStateFile = dir_->filePath(u"state"_s);
        QProcess::execute(u"bash"_s,
                          {QStringLiteral(SLP_PG_CLUSTER_SCRIPT), u"start"_s, state().ownStateFile});
        readState(state().ownStateFile);
    }
    void TearDown() override {
        if (state().ownStateFile.isEmpty()) return;
        QProcess::execute(u"bash"_s,
                          {QStringLiteral(SLP_PG_CLUSTER_SCRIPT), u"stop"_s, state().ownStateFile});
    }

  private:
    std::unique_ptr<QTemporaryDir> dir_;
};

// Every test executable that links this file gets the environment.
[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

}  // namespace

std::optional<QString> testServerUrl(QString* reason) {
    if (!state().url && reason) *reason = state().reason;
    return state().url;
}

std::optional<QString> freshSchemaUrl(QString* reason) {
    const std::optional<QString> url = testServerUrl(reason);
    if (!url) return std::nullopt;
    const QString schema = u"t_"_s + QUuid::createUuid().toString(QUuid::Id128).left(16);
    data::Database admin(*url);
    admin.executeNative(u"CREATE SCHEMA "_s + schema);
    return *url + u"&options=-csearch_path%3D"_s + schema;
}

}  // namespace slp::test
