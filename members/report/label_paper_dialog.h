#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The label-paper dialog: five kinds of paper, and the label of the first
// sheet to start at, so that a partly used sheet can be finished.
class TFrmPrint : public QDialog {
public:
    explicit TFrmPrint(QWidget* parent = nullptr);

    // True after "列印", false after "取消" or any other way of closing.
    bool printChosen() const { return m_printChosen; }
    // The chosen paper, 1 to 5.
    int paper() const;
    // The label of the first sheet to start at, from 1.
    int firstLabel() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QRadioButton* addChoice(const QString& text, int paper);
    void fitFirstLabel();

    QGroupBox* m_options;
    QList<QRadioButton*> m_choices;
    QSpinBox* m_firstLabel;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    bool m_printChosen = false;
};

struct LabelPaperChoice {
    int paper = 0; // 0 when cancelled, otherwise 1 to 5
    int firstLabel = 1;
};

// Shows TFrmPrint modally and returns what was chosen; paper 0 unless it was
// closed with "列印".
LabelPaperChoice ChooseLabelPaper(QWidget* parent = nullptr);
