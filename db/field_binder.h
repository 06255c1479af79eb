#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QWidget;

namespace db {

class Dataset;

// Binds editors to fields of a dataset's current row, as a data window's
// editors are: they show the current row after every move, open, cancel or
// change of a value, and whatever changes in an editor while the dataset is
// in Edit or Insert (typing, or a window setting the text) is written into
// the row at once, so a post always stores what the editors show.
//
// An empty text is written as null. A check box writes 1 or 0. Labels only
// show. Unless setManageEnabled(false), the editors are enabled exactly
// while the dataset is in Edit or Insert.
class FieldBinder : public QObject {
    Q_OBJECT
public:
    explicit FieldBinder(Dataset* dataset, QObject* parent = nullptr);

    void bind(QLineEdit* editor, const QString& field);
    void bind(QPlainTextEdit* editor, const QString& field);
    void bind(QTextEdit* editor, const QString& field);
    void bind(QComboBox* editor, const QString& field); // editable or a fixed list
    void bind(QCheckBox* editor, const QString& field);
    void bind(QLabel* label, const QString& field);

    // Replaces a combo box's list and keeps its text. Clearing an editable
    // box empties its text and refilling picks the first item, which a bound
    // box would otherwise write into the row being edited.
    static void replaceItems(QComboBox* box, const QStringList& items);

    void setManageEnabled(bool on);
    // Shows the current row's values in every bound widget again.
    void reload();

private:
    enum class Kind { LineEdit, PlainText, RichText, ComboBox, CheckBox, Label };
    struct Binding {
        QPointer<QWidget> widget;
        QString field;
        Kind kind;
    };

    void add(QWidget* widget, const QString& field, Kind kind);
    QVariant currentValue(const QString& field) const;
    QVariant read(const Binding& binding) const;
    void show(const Binding& binding, const QVariant& value);
    void showIfDifferent(const Binding& binding);
    void onWidgetChanged(QWidget* widget);
    void onDataChanged(int row, int field);
    void updateEnabled();

    QPointer<Dataset> m_dataset;
    std::vector<Binding> m_bindings;
    bool m_manageEnabled = true;
    bool m_showing = false; // the binder itself is filling a widget
};

} // namespace db
