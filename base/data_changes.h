#pragma once

#include <QObject>

// Tells the open windows that the stored rows changed beneath them in one
// sweep (an import added or deleted members), so that each window showing
// them reads them again rather than going on with what it read before.
class DataChanges : public QObject {
    Q_OBJECT

public:
    static DataChanges& instance();

    // Says that the stored rows were replaced; every listener reloads.
    void announce() { emit replaced(); }

signals:
    void replaced();

private:
    DataChanges() = default;
};
