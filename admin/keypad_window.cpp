#include "admin/keypad_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

const int kKeyWidth = 60;
const int kKeyHeight = 50;

// The face of a key: its sign drawn large.
QIcon keyFace(const QString& sign) {
    QPixmap picture(kKeyWidth - 8, kKeyHeight - 8);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QFont font = painter.font();
    font.setPixelSize(sign.size() > 1 ? 16 : 28);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x1F, 0x3A, 0x68));
    painter.drawText(picture.rect(), Qt::AlignCenter, sign);
    return QIcon(picture);
}

} // namespace

TFrmInputString::TFrmInputString(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmInputString"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
    setWindowTitle(QStringLiteral("數字鍵盤"));
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    const char* const rows[3][3] = {
        {"Btn7", "Btn8", "Btn9"}, {"Btn4", "Btn5", "Btn6"}, {"Btn1", "Btn2", "Btn3"}};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QString digit = QString::fromLatin1(rows[row][column] + 3);
            QPushButton* key = addKey(rows[row][column], digit);
            connect(key, &QPushButton::clicked, this, [this, digit] {
                if (TargetEdit)
                    TargetEdit->setText(TargetEdit->text() + digit);
            });
            grid->addWidget(key, row, column);
        }
    }
    QPushButton* zero = addKey("Btn0", QStringLiteral("0"));
    connect(zero, &QPushButton::clicked, this, [this] {
        if (TargetEdit)
            TargetEdit->setText(TargetEdit->text() + QLatin1Char('0'));
    });
    grid->addWidget(zero, 0, 3);
    QPushButton* clear = addKey("BtnClear", QStringLiteral("清除"));
    connect(clear, &QPushButton::clicked, this, [this] {
        if (TargetEdit)
            TargetEdit->clear();
    });
    grid->addWidget(clear, 1, 3);
    QPushButton* ok = addKey("BitOK", QStringLiteral("確定"));
    connect(ok, &QPushButton::clicked, this, &TFrmInputString::pressOk);
    grid->addWidget(ok, 2, 3);
    setFixedSize(sizeHint());
}

QPushButton* TFrmInputString::addKey(const char* name, const QString& face) {
    auto* key = new QPushButton(this);
    key->setObjectName(QLatin1String(name));
    key->setFixedSize(kKeyWidth, kKeyHeight);
    key->setIcon(keyFace(face));
    key->setIconSize(QSize(kKeyWidth - 8, kKeyHeight - 8));
    key->setAccessibleName(face);
    key->setAutoDefault(false);
    key->setFocusPolicy(Qt::NoFocus);
    return key;
}

// Presses the other window's OK button. A successful sign-in hides the keypad
// itself; a refusal leaves it open so the entry can be corrected.
void TFrmInputString::pressOk() {
    if (OkButton)
        OkButton->click();
}

TFrmInputString* TFrmInputString::find() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("FrmInputString"))
            return static_cast<TFrmInputString*>(widget);
    }
    return nullptr;
}

TFrmInputString* TFrmInputString::open(QLineEdit* target, QAbstractButton* okButton, QWidget* owner,
                                       const QPoint& topLeft) {
    TFrmInputString* keypad = find();
    if (keypad == nullptr)
        keypad = new TFrmInputString(owner);
    keypad->move(topLeft);
    keypad->TargetEdit = target;
    keypad->OkButton = okButton;
    keypad->show();
    return keypad;
}

void TFrmInputString::closeIfOpen() {
    if (TFrmInputString* keypad = find())
        keypad->close();
}
