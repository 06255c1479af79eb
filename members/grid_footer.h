#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>

class QHeaderView;

// A footer row under a grid: texts drawn under chosen columns, following the
// columns as they are moved, resized, hidden or scrolled.
class GridFooter : public QWidget {
public:
    explicit GridFooter(QHeaderView* header, QWidget* parent = nullptr);

    void setText(int logicalIndex, const QString& text);
    QString text(int logicalIndex) const { return m_texts.value(logicalIndex); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QHeaderView> m_header;
    QHash<int, QString> m_texts;
};
