#include "base/message_table.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QtGlobal>

void MessageTable::fill(int localeId) {
    if (localeId == SimplifiedLocale) {
        CaptionHint = QStringLiteral("提示");
        LoginTitle = QStringLiteral("登录");
        LoginUserIdLabel = QStringLiteral("收银员编号");
        LoginPasswordLabel = QStringLiteral("收银员密码");
        ButtonOk = QStringLiteral("确定");
        ButtonCancel = QStringLiteral("取消");
        MsgUserIdEmpty = QStringLiteral("收银员编号不能为空!");
        MsgPasswordEmpty = QStringLiteral("收银员密码不能为空!");
        MsgLoginFailed = QStringLiteral("输入的用户名或密码错误，请重新输入!");
        return;
    }
    CaptionHint = QStringLiteral("提示");
    LoginTitle = QStringLiteral("登入");
    LoginUserIdLabel = QStringLiteral("用戶編號");
    LoginPasswordLabel = QStringLiteral("用戶密碼");
    ButtonOk = QStringLiteral("確定");
    ButtonCancel = QStringLiteral("取消");
    MsgUserIdEmpty = QStringLiteral("收銀員編號不能為空!");
    MsgPasswordEmpty = QStringLiteral("用戶密碼不能為空!");
    MsgLoginFailed = QStringLiteral("輸入的用戶名或密碼錯誤﹐請重新輸入!");
}

MessageTable& MessageTable::current() {
    static MessageTable table;
    return table;
}

int localeIdFromName(const QString& localeName) {
    // "zh_TW.UTF-8@variant" -> "zh_TW"
    QString name = localeName;
    const qsizetype cut = name.indexOf(QRegularExpression(QStringLiteral("[.@]")));
    if (cut >= 0)
        name.truncate(cut);
    if (name == QLatin1String("zh_TW"))
        return MessageTable::TraditionalLocale;
    if (name == QLatin1String("zh_CN"))
        return MessageTable::SimplifiedLocale;
    return 0;
}

int systemLocaleId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return localeIdFromName(QString::fromLocal8Bit(value));
    }
    return 0;
}
