// Fields in braces merged with each recipient's own values: what each field
// gives, what is refused before sending, the counts, the history and what
// the gateway charges.
#include "sms/gateway_client.h"
#include "sms/merge_fields.h"
#include "sms/merge_preview.h"
#include "sms/send_checks.h"
#include "sms/send_run.h"
#include "sms/sms_parts.h"
#include "tests/sms/raw_gateway.h"
#include "tests/sms/sms_database_fixture.h"

#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

members::search::Captions captions() {
    members::search::Captions given;
    given.category = "分類";
    given.enterDate = "入會日﹕";
    given.date1 = "";
    given.memos = {"公司", "", "稱謂", "{壞}", "職稱"};
    return given;
}

// A member as the send window lists one.
sms::Recipient member(const QString& name, const QString& salutation, const QString& phone,
                      const QString& birthday = "60/05/03", const QString& kind = "VIP") {
    const QHash<QString, QString> columns{{"name", name}, {"Name1", salutation},
                                          {"id", "A01"},  {"MGBirthday", birthday},
                                          {"Kind", kind}, {"EnterDate", "2020/01/02"},
                                          {"date1", ""},  {"Memo", " 大華公司 "},
                                          {"Memo1", ""},  {"Memo2", "x"},
                                          {"Memo3", ""},  {"Memo4", ""}};
    return {name + salutation, phone,
            sms::memberValues(sms::mergeFields(captions()),
                              [&](const QString& column) { return columns.value(column); })};
}

sms::Composition withFields(const QString& message) {
    sms::Composition composition;
    composition.message = message;
    composition.fieldNames = sms::fieldNames(sms::mergeFields(captions()));
    return composition;
}

TEST(SmsMergeFields, TheFixedFieldsComeFirstThenTheSettingsCaptions) {
    // An empty caption, one already listed (稱謂) and one holding braces are
    // left out; a closing colon is not part of the name.
    EXPECT_EQ(sms::fieldNames(sms::mergeFields(captions())),
              (QStringList{"姓名", "稱謂", "會員編號", "生日", "類別", "分類", "入會日", "公司",
                           "職稱"}));
    EXPECT_EQ(sms::fixedFieldNames(), (QStringList{"姓名", "稱謂", "會員編號", "生日", "類別"}));
}

TEST(SmsMergeFields, EachFieldGivesTheRecipientsOwnValue) {
    const sms::Recipient lin = member("林", "先生", "0911000001");
    const sms::Recipient typed{"阿明", "0911000002"}; // from 自定接收人 or the history
    const struct {
        const char* message;
        const sms::Recipient& recipient;
        const char* merged;
        QStringList empty;
    } cases[] = {
        {"{姓名}您好", lin, "林您好", {}},
        {"{稱謂}", lin, "先生", {}},
        {"編號{會員編號}", lin, "編號A01", {}},
        {"生日{生日}快樂", lin, "生日60/05/03快樂", {}},
        {"{類別}會員", lin, "VIP會員", {}},
        {"{分類}", lin, "VIP", {}},
        {"{入會日}", lin, "2020/01/02", {}},
        {"{公司}", lin, "大華公司", {}}, // trimmed
        {"{職稱}", lin, "", {"職稱"}},
        {"{姓名}{姓名}", lin, "林林", {}},
        {"{姓名}您好", typed, "阿明您好", {}},
        {"{姓名}{生日}{類別}", typed, "阿明", {"生日", "類別"}},
        // Braces that never close, or open again first, are text.
        {"{姓名", lin, "{姓名", {}},
        {"{{姓名}}", lin, "{林}", {}},
        {"沒有欄位", lin, "沒有欄位", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const sms::Merged merged = sms::merge(c.message, sms::mergeValues(c.recipient));
        EXPECT_EQ(merged.text, c.merged);
        EXPECT_EQ(merged.empty, c.empty);
        EXPECT_EQ(sms::compose(c.recipient, withFields(c.message)).message, c.merged);
    }
}

TEST(SmsMergeFields, SendingIsRefusedBeforehandNamingTheFieldOrRecipient) {
    const QList<sms::Recipient> lines{member("林", "先生", "0911000001"),
                                      member("王", "", "0911000002", ""),
                                      {"阿明", "0911000003"}};
    const struct {
        const char* title;
        const char* message;
        bool blank;
        const char* refusal; // a part of it; nothing when it may go
    } cases[] = {
        {"unknown fields, each named once", "{電話}{姓名}{地址}{電話}", false,
         "不認得的欄位﹕{電話}、{地址}"},
        {"unknown even when blanks are allowed", "{ 姓名}", true, "不認得的欄位﹕{ 姓名}"},
        {"empty birthday and typed line listed", "{姓名}{生日}", false,
         "下列2位接收人的欄位沒有資料﹕\n王(0911000002)﹕{生日}\n阿明(0911000003)﹕{生日}"},
        {"blank chosen", "{姓名}{生日}", true, nullptr},
        {"every recipient has a name", "{姓名}您好", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        sms::Composition composition = withFields(c.message);
        composition.blankEmptyFields = c.blank;
        const std::optional<QString> refusal = sms::sendRefusal(lines, composition);
        if (c.refusal == nullptr) {
            EXPECT_FALSE(refusal) << refusal.value_or("").toStdString();
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_TRUE(refusal->contains(QString::fromUtf8(c.refusal))) << refusal->toStdString();
    }
    // The message is fine; one member's own value is not Big5.
    const QList<sms::Recipient> unmappable{member("林", "先生", "0911000001"),
                                           member("刘", "", "0911000002")};
    const std::optional<QString> refusal = sms::sendRefusal(unmappable, withFields("{姓名}您好"));
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(refusal->contains("第2位接收人「刘(0911000002)」")) << refusal->toStdString();
    EXPECT_TRUE(refusal->contains("無法以Big5發送的字﹕刘")) << refusal->toStdString();
}

// 66 characters of body make one part alone; a long name makes two.
TEST(SmsMergeFields, TheCountIsOfEachRecipientsMergedText) {
    const QString body(60, QChar(0x6797));
    const QList<sms::Recipient> lines{member("王", "", "0911000001"),
                                      member("歐陽娜娜", "小姐", "0911000002"),
                                      {"林", "0911000003"}};
    struct Case {
        const char* title;
        QString message;
        bool prefix;
        int characters; // of the longest merged body
        int total;
    };
    const Case cases[] = {
        // " " + 2 + 60 + 4 + "  " ... trimmed at the end: " 王" + body = 62.
        {"short names", "{姓名}" + body, false, 1 + 4 + 60, 3},
        // " 歐陽娜娜小姐" + body + "VIP" = 1 + 6 + 60 + 3 = 70 is one part.
        {"name, salutation and category", "{姓名}{稱謂}" + body + "{類別}", false, 70, 3},
        // One more character tips the longest into two parts.
        {"seventy-one", "{姓名}{稱謂}" + body + "{類別}x", false, 71, 4},
        // The prefix adds "歐陽娜娜小姐:" to the second: 6 + 1 + 66 = 73.
        {"with the prefix", "{姓名}" + body + "{稱謂}", true, 1 + 4 + 60 + 2, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        sms::Composition composition = withFields(c.message);
        composition.namePrefix = c.prefix;
        composition.blankEmptyFields = true;
        const sms::PartsCount count = sms::countParts(lines, composition, false);
        EXPECT_EQ(count.characters, c.characters);
        EXPECT_EQ(count.parts, sms::partCount(c.characters));
        EXPECT_EQ(count.totalParts, c.total);
        int previewed = 0;
        for (const sms::PreviewLine& line : sms::previewLines(lines, composition, false))
            previewed += line.parts;
        EXPECT_EQ(previewed, c.total);
    }
}

TEST(SmsMergeFields, ThePreviewShowsEachTextAndWhatKeepsItBack) {
    const QList<sms::Recipient> lines{member("林", "先生", "0911000001"),
                                      member("刘", "", "0911000002", ""),
                                      {"阿明", "0911000003"}};
    const QList<sms::PreviewLine> preview =
        sms::previewLines(lines, withFields("{姓名}{稱謂}生日{生日}"), false);
    ASSERT_EQ(preview.size(), 3);
    EXPECT_EQ(preview[0].recipient, "林先生(0911000001)");
    EXPECT_EQ(preview[0].text, " 林先生生日60/05/03");
    EXPECT_EQ(preview[0].characters, 14);
    EXPECT_EQ(preview[0].parts, 1);
    EXPECT_EQ(preview[0].problem, "");
    EXPECT_EQ(preview[1].problem, "沒有資料﹕{稱謂}{生日}﹔無法以Big5發送﹕刘");
    EXPECT_EQ(preview[2].problem, "沒有資料﹕{稱謂}{生日}");
}

class SmsMergeSendTest : public SmsDatabaseTest {
protected:
    QStringList history() {
        QStringList lines;
        for (const QVariantMap& row :
             rows("select CustName, Tel, Message, Memo from MessageHistory order by ID"))
            lines << row["CustName"].toString() + '|' + row["Tel"].toString() + '|' +
                         row["Message"].toString() + '|' + row["Memo"].toString().left(3);
        return lines;
    }
};

// The simulator takes off one credit for each part it receives, and that
// is what the count said before the run.
TEST_F(SmsMergeSendTest, TheGatewayReceivesAndChargesWhatTheCountSaid) {
    const QString body(62, QChar(0x6797));
    const QList<sms::Recipient> lines{member("王", "", "0911000001"),
                                      member("歐陽娜娜", "小姐", "0911000002"),
                                      {"林", "0911000003"}};
    sms::Composition composition = withFields("{姓名}{稱謂}" + body);
    composition.blankEmptyFields = true;
    composition.withSignature = true;
    composition.signature = "店";
    const int counted = sms::countParts(lines, composition, false).totalParts;
    GatewayClient gateway(m_sim->config());
    const long before = gateway.remainingCredit().toLong();
    const sms::RunResult result = sms::sendToAll(gateway, lines, composition, std::nullopt, {});
    EXPECT_FALSE(result.stopped());
    EXPECT_EQ(before - gateway.remainingCredit().toLong(), counted);
    EXPECT_EQ(counted, 1 + 2 + 1);
    const QList<QJsonObject> logged = m_sim->loggedMessages();
    ASSERT_EQ(logged.size(), 3);
    EXPECT_EQ(logged[1]["message"].toString(), " 歐陽娜娜小姐" + body + "  店");
    // The history keeps each merged message, without prefix and signature.
    EXPECT_EQ(history(), (QStringList{"王|0911000001|王" + body + "|OK",
                                      "歐陽娜娜小姐|0911000002|歐陽娜娜小姐" + body + "|OK",
                                      "林|0911000003|林" + body + "|OK"}));
}

// A gateway that closes after reading the second merged message: the first
// is recorded with its own text as sent, the second as unconfirmed.
TEST_F(SmsMergeSendTest, AnUnansweredMergedMessageIsRecordedWithItsOwnText) {
    RawGateway raw(RawGateway::Fault::CloseAfterRead, RawGateway::Then::Answer, "0911000002");
    GatewayClient gateway(raw.config(1s));
    const QList<sms::Recipient> lines{member("王", "", "0911000001"),
                                      member("林", "先生", "0911000002"),
                                      member("陳", "", "0911000003")};
    const sms::RunResult result =
        sms::sendToAll(gateway, lines, withFields("{姓名}{稱謂}您好"), std::nullopt, {});
    EXPECT_EQ(result.states, (QList<sms::Delivery>{sms::Delivery::Sent, sms::Delivery::Unconfirmed,
                                                   sms::Delivery::Pending}));
    EXPECT_EQ(raw.timesRead("0911000002"), 1);
    EXPECT_EQ(history(),
              (QStringList{"王|0911000001|王您好|OK", "林先生|0911000002|林先生您好|未確認"}));
}

} // namespace
