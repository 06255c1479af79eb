#include "app/command_line_send.h"

#include "admin/login_session.h"
#include "base/errors.h"
#include "base/phone_number.h"
#include "db/database_target.h"
#include "members/member_search.h"
#include "members/saved_search.h"
#include "sms/gateway_client.h"
#include "sms/gateway_config.h"
#include "sms/merge_fields.h"
#include "sms/quiet_hours.h"
#include "sms/recipient_search.h"
#include "sms/register_phones.h"
#include "sms/send_checks.h"
#include "sms/send_run.h"
#include "sms/sms_parts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

struct SendOptions {
    QStringList phones;
    QString message;
    QString name;
    QString sign;
    QString search; // --search: the members a saved search finds
    bool yes = false;
    bool ignoreQuietHours = false;
    bool blankEmptyFields = false;
    QString databasePath = QStringLiteral("db.sqlite");
    bool databaseGiven = false;
    QString error;
};

const QString kSend = QStringLiteral("--send");

SendOptions parseSendOptions(const QStringList& arguments) {
    SendOptions options;
    bool messageGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (word == kSend)
            continue;
        if (word == QLatin1String("--yes"))
            options.yes = true;
        else if (word == QLatin1String("--ignore-quiet-hours"))
            options.ignoreQuietHours = true;
        else if (word == QLatin1String("--blank-empty-fields"))
            options.blankEmptyFields = true;
        else if (word == QLatin1String("--to") && hasValue)
            options.phones += arguments.at(++i).split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (word == QLatin1String("--message") && hasValue)
            options.message = arguments.at(++i), messageGiven = true;
        else if (word == QLatin1String("--name") && hasValue)
            options.name = arguments.at(++i);
        else if (word == QLatin1String("--search") && hasValue)
            options.search = arguments.at(++i);
        else if (word == QLatin1String("--sign") && hasValue)
            options.sign = arguments.at(++i);
        else if (word == QLatin1String("--database") && hasValue)
            options.databasePath = arguments.at(++i), options.databaseGiven = true;
        else if (word.startsWith(QLatin1String("--database=")))
            options.databasePath = word.mid(11), options.databaseGiven = true;
        else
            options.error = QStringLiteral("不認得的參數 %1").arg(word);
    }
    if (!options.error.isEmpty())
        return options;
    if (options.phones.isEmpty() && options.search.isEmpty())
        options.error = QStringLiteral("請以 --to 給至少一個手機號碼");
    else if (!messageGiven || options.message.trimmed().isEmpty())
        options.error = QStringLiteral("請以 --message 給簡訊內容");
    for (const QString& phone : options.phones) {
        if (options.error.isEmpty() && !phone::isDialable(phone))
            options.error =
                QStringLiteral("手機號碼「%1」無法發送簡訊﹕只能有數字(可用空白、-、. 分隔﹐"
                               "開頭可有 +)﹐至少8位")
                    .arg(phone);
    }
    return options;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString stateText(sms::Delivery state) {
    switch (state) {
    case sms::Delivery::Sent:
        return QStringLiteral("已發送");
    case sms::Delivery::Repeated:
        return QStringLiteral("相同簡訊已發送﹐略過");
    case sms::Delivery::Unconfirmed:
        return QStringLiteral("未確認");
    case sms::Delivery::Refused:
        return QStringLiteral("被拒");
    case sms::Delivery::Pending:
        break;
    }
    return QStringLiteral("未發送");
}

void openRegister(const SendOptions& options) {
    const db::DatabaseTarget target = db::chosenTarget(options.databaseGiven, options.databasePath);
    if (target.engine == db::Engine::Sqlite && !QFileInfo::exists(target.path))
        throw DatabaseError(
            QStringLiteral("找不到資料庫 %1").arg(QFileInfo(target.path).absoluteFilePath()));
    db::setDatabaseTarget(target);
    LoginSession::current().readGatewayCredentials();
}

// The members a saved search finds, each under their own name.
QList<sms::Recipient> searchRecipients(const QString& name) {
    const std::optional<members::saved::SavedSearch> search = members::saved::findSearch(name);
    if (!search)
        throw DatabaseError(QStringLiteral("找不到常用查詢「%1」").arg(name));
    const sms::SearchRecipients found = sms::savedSearchRecipients(*search);
    if (found.withoutMobile > 0)
        print(stderr, QStringLiteral("%1 位會員沒有手機號碼﹐未加入").arg(found.withoutMobile));
    return found.recipients;
}

// The count and the credit, then the question; only "y" or "yes" sends.
bool confirmed(GatewayClient& gateway, const QList<sms::Recipient>& recipients,
               const sms::Composition& composition) {
    QString credit;
    try {
        credit = gateway.remainingCredit().trimmed();
    } catch (const LunmarkError& error) {
        credit = QStringLiteral("(無法取得﹕%1)").arg(error.text());
    }
    const int parts = sms::countParts(recipients, composition, false).totalParts;
    std::fputs(
        QStringLiteral("將發送給%1位接收人﹐共%2則簡訊﹔簡訊剩餘通數﹕%3。確定要發送嗎﹖(y/N) ")
            .arg(recipients.size())
            .arg(parts)
            .arg(credit)
            .toLocal8Bit()
            .constData(),
        stdout);
    std::fflush(stdout);
    std::string answer;
    std::getline(std::cin, answer);
    const QString said = QString::fromLocal8Bit(answer).trimmed().toLower();
    return said == QLatin1String("y") || said == QLatin1String("yes");
}

// Each --to number matched to a member by telephone supplies the member's
// fields and, without --name, the member's name for the history; numbers
// of members marked 不接收簡訊 are left out and printed. The members of a saved
// search (--search NAME) are matched the same way.
struct Gathered {
    QList<sms::Recipient> recipients;
    QStringList optedOut;
};

Gathered gatherRecipients(const SendOptions& options) {
    const QHash<QString, sms::RegisterMember> members = sms::membersByPhone();
    const QSet<QString> optedOut = sms::optedOutPhones();
    Gathered gathered;
    for (const QString& typed : options.phones) {
        const QString phone = typed.trimmed();
        const QString key = phone::key(phone);
        if (optedOut.contains(key)) {
            gathered.optedOut << phone;
            continue;
        }
        sms::Recipient recipient{options.name, phone};
        if (const auto found = members.constFind(key); found != members.cend()) {
            recipient.fields = found->fields;
            if (options.name.isEmpty())
                recipient.name = found->listedName;
        }
        gathered.recipients << recipient;
    }
    if (!options.search.isEmpty()) {
        for (sms::Recipient recipient : searchRecipients(options.search)) {
            const QString key = phone::key(recipient.phone);
            if (optedOut.contains(key)) {
                gathered.optedOut << recipient.phone;
                continue;
            }
            if (const auto found = members.constFind(key); found != members.cend())
                recipient.fields = found->fields;
            gathered.recipients << recipient;
        }
    }
    return gathered;
}

// Inside the quiet hours nothing goes out unless --ignore-quiet-hours says so.
std::optional<QString> quietHoursRefusal(const SendOptions& options) {
    if (options.ignoreQuietHours)
        return std::nullopt;
    const sms::QuietHours quiet = sms::QuietHours::load(GatewayConfig::iniPath());
    const QDateTime now = QDateTime::currentDateTime();
    if (!quiet.contains(now))
        return std::nullopt;
    return QStringLiteral("現在(%1)是簡訊靜默時段(%2)﹐沒有發送﹔一定要現在發送請加 "
                          "--ignore-quiet-hours")
        .arg(now.toString(QStringLiteral("HH:mm")), quiet.text());
}

int report(const QList<sms::Recipient>& recipients, const sms::RunResult& result) {
    for (qsizetype i = 0; i < recipients.size(); ++i)
        print(stdout,
              QStringLiteral("%1\t%2\t%3")
                  .arg(recipients[i].phone, stateText(result.states[i]), result.answers.value(i)));
    QString summary =
        QStringLiteral("已發送:%1筆  未確認:%2筆  被拒:%3筆  未發送:%4筆")
            .arg(result.count(sms::Delivery::Sent) + result.count(sms::Delivery::Repeated))
            .arg(result.count(sms::Delivery::Unconfirmed))
            .arg(result.count(sms::Delivery::Refused))
            .arg(result.count(sms::Delivery::Pending));
    print(stdout, summary);
    if (result.stopped())
        print(stderr, QStringLiteral("發送中斷﹕%1").arg(*result.stopReason));
    if (result.signatureFailure)
        print(stderr, QStringLiteral("新署名沒有儲存﹕%1").arg(*result.signatureFailure));
    const int reached = result.count(sms::Delivery::Sent) + result.count(sms::Delivery::Repeated);
    if (reached == recipients.size())
        return 0;
    const bool nothingLeft = result.count(sms::Delivery::Pending) == recipients.size();
    return nothingLeft ? 1 : 3;
}

} // namespace

bool isCommandLineSend(const QStringList& arguments) {
    return arguments.contains(kSend);
}

int runCommandLineSend(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const SendOptions options = parseSendOptions(app.arguments());
    if (!options.error.isEmpty()) {
        print(stderr,
              QStringLiteral(
                  "lunmark: %1\n用法: lunmark --send --to 手機號碼[,手機號碼…] | --search 查詢名稱 "
                  "--message 內容 [--name 姓名] [--sign 署名] [--yes] "
                  "[--ignore-quiet-hours] [--blank-empty-fields] [--database 路徑]")
                  .arg(options.error));
        return 1;
    }
    try {
        openRegister(options);
        const Gathered gathered = gatherRecipients(options);
        for (const QString& phone : gathered.optedOut)
            print(stdout, QStringLiteral("%1\t不接收簡訊﹐略過").arg(phone));
        const QList<sms::Recipient>& recipients = gathered.recipients;
        if (recipients.isEmpty()) {
            print(stderr, QStringLiteral("lunmark: 沒有可以發送的接收人"));
            return 1;
        }
        sms::Composition composition{!options.name.isEmpty(), options.message,
                                     !options.sign.isEmpty(), options.sign};
        composition.fieldNames = sms::fieldNames(sms::mergeFields(members::search::readCaptions()));
        composition.blankEmptyFields = options.blankEmptyFields;
        if (const std::optional<QString> refusal = sms::sendRefusal(recipients, composition)) {
            print(stderr, QStringLiteral("lunmark: %1").arg(*refusal));
            return 1;
        }
        if (const std::optional<QString> refusal = quietHoursRefusal(options)) {
            print(stderr, QStringLiteral("lunmark: %1").arg(*refusal));
            return 1;
        }
        GatewayClient gateway;
        if (!options.yes && !confirmed(gateway, recipients, composition)) {
            print(stdout, QStringLiteral("沒有發送。"));
            return 1;
        }
        const sms::RunResult result =
            sms::sendToAll(gateway, recipients, composition, std::nullopt, {});
        return report(recipients, result);
    } catch (const LunmarkError& error) {
        print(stderr, QStringLiteral("lunmark: %1").arg(error.text()));
    }
    return 1;
}
