#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class DateEditor;

namespace db {
class Dataset;
}

// Binds a date editor to a date field of a dataset's current row, as the
// field binder does for text editors: the editor shows the current row's
// date, a date the user picks while the row is edited or inserted is written
// at once (as that day at 00:00:00, the editor holding dates only), an
// emptied editor writes null, and the editor is enabled exactly while the
// row is edited or inserted. A stored time of day stays as it is until the
// user changes the date.
class DateFieldBinder : public QObject {
public:
    DateFieldBinder(db::Dataset* dataset, DateEditor* editor, const QString& field,
                    QObject* parent = nullptr);

    // Shows the current row's date again.
    void reload();

private:
    void onEdited();
    void updateEnabled();

    QPointer<db::Dataset> m_dataset;
    QPointer<DateEditor> m_editor;
    QString m_field;
    bool m_showing = false; // the binder itself is filling the editor
};
