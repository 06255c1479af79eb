#include "base/prompt.h"

#include "base/message_table.h"
#include "base/program_title.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace {

// Room the window manager's title bar takes beside the title: the icon and
// the buttons.
constexpr int kTitleBarButtons = 160;

// A box with the caption as its title, the program's title when the caption
// is blank, and wide enough for the title bar to show the title whole: a
// narrow box (保存成功﹕共 1 筆) would otherwise show "···" for it.
void setTitle(QMessageBox& box, const QString& caption) {
    const QString title = caption.trimmed().isEmpty() ? programTitle() : caption;
    box.setWindowTitle(title);
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(title) + kTitleBarButtons;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

// Message boxes modal to the application's active window.
class MessageBoxPrompt : public Prompt {
public:
    void message(Icon icon, const QString& caption, const QString& text) override {
        QMessageBox box(boxIcon(icon), QString(), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        setTitle(box, caption);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("確定"));
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
    }

    using Prompt::question;
    bool question(const QString& caption, const QString& text,
                  DefaultButton defaultButton) override {
        QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        setTitle(box, caption);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        box.setDefaultButton(defaultButton == No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    SaveAnswer askToSave(const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Question, QString(), text,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                        QApplication::activeWindow());
        setTitle(box, caption);
        box.button(QMessageBox::Save)->setText(QStringLiteral("儲存"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("不儲存"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
        }
    }

private:
    static QMessageBox::Icon boxIcon(Icon icon) {
        switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Error:
            break;
        }
        return QMessageBox::Critical;
    }
};

Prompt*& installed() {
    static Prompt* prompt = nullptr;
    return prompt;
}

} // namespace

Prompt::SaveAnswer Prompt::askToSave(const QString&, const QString&) {
    return SaveAnswer::Cancel;
}

Prompt& Prompt::current() {
    static MessageBoxPrompt boxes;
    return installed() ? *installed() : boxes;
}

void Prompt::install(Prompt* prompt) {
    installed() = prompt;
}

void InfoBox(const QString& text) {
    Prompt::current().message(Prompt::Icon::Information, MessageTable::current().CaptionHint, text);
}

bool ConfirmBox(const QString& text, Prompt::DefaultButton defaultButton) {
    return Prompt::current().question(MessageTable::current().CaptionHint, text, defaultButton);
}
