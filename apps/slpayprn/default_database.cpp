#include "default_database.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "basic/error.h"
#include "data/demo_database.h"

using namespace Qt::StringLiterals;

namespace slp::app {

QString defaultDatabasePath() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative path is ignored, as the XDG rules say (and as the settings folder does).
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + u"/.local/share"_s;
    return base + u"/Sl_PAYPRN/demo.db"_s;
}

bool isServerUrl(const QString& database) {
    return database.startsWith(u"postgresql://"_s, Qt::CaseInsensitive) ||
           database.startsWith(u"postgres://"_s, Qt::CaseInsensitive);
}

QString connectionFor(const HostOptions& host) {
    if (host.databaseGiven && isServerUrl(host.database)) return host.database;
    return u"sqlite:"_s + databaseFor(host);
}

QString databaseFor(const HostOptions& host) {
    if (host.databaseGiven) return host.database;
    const QString path = defaultDatabasePath();
    if (!QFileInfo::exists(path)) {
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            throw slp::Error(slp::errnum::PathNotFound,
                             u"无法建立文件夹 "_s + QFileInfo(path).absolutePath());
        }
        data::DemoOptions options;
        options.month = host.month;
        options.narrow = true;  // a month whose wage table fits the default paper
        data::createDemoDatabase(path, options);
    }
    return path;
}

}  // namespace slp::app
