#include "db/history_retention.h"

#include "db/change_history.h"
#include "db/connection.h"
#include "db/database_target.h"

#include <QSettings>

namespace db::history {

int keepDays() {
    bool ok = false;
    const int days = QSettings(settingsFilePath(), QSettings::IniFormat)
                         .value(QStringLiteral("History/KeepDays"))
                         .toInt(&ok);
    return ok && days > 0 ? days : kDefaultKeepDays;
}

int pruneRecords(int keepDays, const QDateTime& now) {
    if (!available())
        return 0;
    const QSqlQuery removed =
        run(QStringLiteral("DELETE FROM CustHistory WHERE ChangeTime < :before"),
            {{QStringLiteral("before"), timeText(now.addDays(-keepDays))}});
    return removed.numRowsAffected();
}

} // namespace db::history
