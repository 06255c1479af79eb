#include "db/field_binder.h"

#include "db/dataset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextEdit>

namespace db {
namespace {

QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

QVariant textValue(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

FieldBinder::FieldBinder(Dataset* dataset, QObject* parent) : QObject(parent), m_dataset(dataset) {
    connect(dataset, &Dataset::movedTo, this, &FieldBinder::reload);
    connect(dataset, &Dataset::wasReset, this, &FieldBinder::reload);
    connect(dataset, &Dataset::dataChanged, this, &FieldBinder::onDataChanged);
    connect(dataset, &Dataset::stateChanged, this, [this] {
        updateEnabled();
        reload();
    });
}

void FieldBinder::bind(QLineEdit* editor, const QString& field) {
    add(editor, field, Kind::LineEdit);
    connect(editor, &QLineEdit::textChanged, this, [this, editor] { onWidgetChanged(editor); });
}

void FieldBinder::bind(QPlainTextEdit* editor, const QString& field) {
    add(editor, field, Kind::PlainText);
    connect(editor, &QPlainTextEdit::textChanged, this,
            [this, editor] { onWidgetChanged(editor); });
}

void FieldBinder::bind(QTextEdit* editor, const QString& field) {
    add(editor, field, Kind::RichText);
    connect(editor, &QTextEdit::textChanged, this, [this, editor] { onWidgetChanged(editor); });
}

void FieldBinder::bind(QComboBox* editor, const QString& field) {
    add(editor, field, Kind::ComboBox);
    // Also emitted for every change of an editable box's text.
    connect(editor, &QComboBox::currentTextChanged, this,
            [this, editor] { onWidgetChanged(editor); });
}

void FieldBinder::bind(QCheckBox* editor, const QString& field) {
    add(editor, field, Kind::CheckBox);
    connect(editor, &QCheckBox::toggled, this, [this, editor] { onWidgetChanged(editor); });
}

void FieldBinder::bind(QLabel* label, const QString& field) {
    add(label, field, Kind::Label);
}

void FieldBinder::add(QWidget* widget, const QString& field, Kind kind) {
    m_bindings.push_back({widget, field, kind});
    show(m_bindings.back(), currentValue(field));
    updateEnabled();
}

void FieldBinder::replaceItems(QComboBox* box, const QStringList& items) {
    const QString text = box->currentText();
    {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(items);
        if (box->isEditable())
            box->setEditText(text);
        else
            box->setCurrentIndex(box->findText(text));
    }
    box->update();
}

void FieldBinder::setManageEnabled(bool on) {
    m_manageEnabled = on;
    updateEnabled();
}

QVariant FieldBinder::currentValue(const QString& field) const {
    if (!m_dataset)
        return {};
    return m_dataset->value(m_dataset->currentRow(), m_dataset->fieldIndex(field));
}

QVariant FieldBinder::read(const Binding& binding) const {
    QWidget* widget = binding.widget;
    switch (binding.kind) {
    case Kind::LineEdit:
        return textValue(static_cast<QLineEdit*>(widget)->text());
    case Kind::PlainText:
        return textValue(static_cast<QPlainTextEdit*>(widget)->toPlainText());
    case Kind::RichText:
        return textValue(static_cast<QTextEdit*>(widget)->toPlainText());
    case Kind::ComboBox:
        return textValue(static_cast<QComboBox*>(widget)->currentText());
    case Kind::CheckBox:
        return static_cast<QCheckBox*>(widget)->isChecked() ? 1 : 0;
    case Kind::Label:
        return textValue(static_cast<QLabel*>(widget)->text());
    }
    return {};
}

void FieldBinder::show(const Binding& binding, const QVariant& value) {
    QWidget* widget = binding.widget;
    if (widget == nullptr)
        return;
    const QString text = textOf(value);
    const QScopedValueRollback showing(m_showing, true);
    switch (binding.kind) {
    case Kind::LineEdit:
        static_cast<QLineEdit*>(widget)->setText(text);
        break;
    case Kind::PlainText:
        static_cast<QPlainTextEdit*>(widget)->setPlainText(text);
        break;
    case Kind::RichText:
        static_cast<QTextEdit*>(widget)->setPlainText(text);
        break;
    case Kind::ComboBox: {
        auto* box = static_cast<QComboBox*>(widget);
        if (box->isEditable())
            box->setEditText(text);
        else
            box->setCurrentIndex(box->findText(text));
        break;
    }
    case Kind::CheckBox:
        static_cast<QCheckBox*>(widget)->setChecked(value.toInt() != 0);
        break;
    case Kind::Label:
        static_cast<QLabel*>(widget)->setText(text);
        break;
    }
}

// Leaves alone a widget that already shows the value, so the editor being
// typed in keeps its cursor.
void FieldBinder::showIfDifferent(const Binding& binding) {
    if (binding.widget == nullptr)
        return;
    const QVariant value = currentValue(binding.field);
    const QVariant shown = read(binding);
    const bool same = binding.kind == Kind::CheckBox ? (value.toInt() != 0) == (shown.toInt() != 0)
                                                     : textOf(value) == textOf(shown);
    if (!same)
        show(binding, value);
}

void FieldBinder::reload() {
    for (const Binding& binding : m_bindings)
        showIfDifferent(binding);
}

void FieldBinder::onDataChanged(int row, int field) {
    if (!m_dataset || row != m_dataset->currentRow())
        return;
    for (const Binding& binding : m_bindings) {
        if (field < 0 || m_dataset->fieldIndex(binding.field) == field)
            showIfDifferent(binding);
    }
}

void FieldBinder::onWidgetChanged(QWidget* widget) {
    if (m_showing || !m_dataset || !m_dataset->isEditing())
        return;
    for (const Binding& binding : m_bindings) {
        if (binding.widget != widget)
            continue;
        const int field = m_dataset->fieldIndex(binding.field);
        if (field >= 0)
            m_dataset->setValue(field, read(binding));
    }
}

void FieldBinder::updateEnabled() {
    if (!m_manageEnabled || !m_dataset)
        return;
    const bool editing = m_dataset->isEditing();
    for (const Binding& binding : m_bindings) {
        if (binding.widget != nullptr && binding.kind != Kind::Label)
            binding.widget->setEnabled(editing);
    }
}

} // namespace db
