#include "documents/date_field_binder.h"

#include "db/dataset.h"
#include "documents/date_editor.h"

#include <QScopedValueRollback>

namespace {

// The day of a stored "yyyy-MM-dd HH:mm:ss" text; null when there is none.
QDate storedDay(const QVariant& value) {
    if (value.isNull())
        return {};
    return QDate::fromString(value.toString().left(10), QStringLiteral("yyyy-MM-dd"));
}

} // namespace

DateFieldBinder::DateFieldBinder(db::Dataset* dataset, DateEditor* editor, const QString& field,
                                 QObject* parent)
    : QObject(parent), m_dataset(dataset), m_editor(editor), m_field(field) {
    connect(dataset, &db::Dataset::movedTo, this, &DateFieldBinder::reload);
    connect(dataset, &db::Dataset::wasReset, this, &DateFieldBinder::reload);
    connect(dataset, &db::Dataset::dataChanged, this, [this](int row, int field) {
        if (row == m_dataset->currentRow() &&
            (field < 0 || field == m_dataset->fieldIndex(m_field)))
            reload();
    });
    connect(dataset, &db::Dataset::stateChanged, this, [this] {
        updateEnabled();
        reload();
    });
    connect(editor, &QDateEdit::dateChanged, this, &DateFieldBinder::onEdited);
    reload();
    updateEnabled();
}

void DateFieldBinder::reload() {
    if (!m_dataset || !m_editor)
        return;
    const QDate day =
        storedDay(m_dataset->value(m_dataset->currentRow(), m_dataset->fieldIndex(m_field)));
    if (day == m_editor->value())
        return;
    const QScopedValueRollback showing(m_showing, true);
    m_editor->setValue(day);
}

void DateFieldBinder::onEdited() {
    if (m_showing || !m_dataset || !m_editor || !m_dataset->isEditing())
        return;
    const int field = m_dataset->fieldIndex(m_field);
    if (field < 0)
        return;
    const QDate day = m_editor->value();
    m_dataset->setValue(field, day.isValid() ? QVariant(day) : QVariant());
}

void DateFieldBinder::updateEnabled() {
    if (m_dataset && m_editor)
        m_editor->setEnabled(m_dataset->isEditing());
}
