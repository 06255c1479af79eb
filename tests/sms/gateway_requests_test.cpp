#include "sms/gateway_config.h"
#include "sms/gateway_requests.h"
#include "sms/query_encoding.h"

#include <gtest/gtest.h>

namespace {

using gateway::creditRequest;
using gateway::purchasePageRequest;
using gateway::resultsPageRequest;
using gateway::sendMessageRequest;

// SuppID, SystemID, CustID, CustPwd, CustName
const GatewayAccount kAccount{"D01", "SYS9", "C123", "pw", "Lin"};
const GatewayAccount kEmpty{};

GatewayConfig hosts() {
    GatewayConfig config;
    config.sendHost = "send.test";
    config.accountHost = "account.test:8080";
    return config;
}

QByteArray address(const GatewayRequest& request) {
    return gateway::wireAddress(request, hosts().hostFor(request.host));
}

struct AddressCase {
    const char* what;
    GatewayRequest request;
    const char* address;
};

TEST(SmsGatewayRequests, AddressesAreBuiltPieceByPieceAsTheGatewayExpects) {
    const AddressCase cases[] = {
        {"credit with every account value empty still carries every key", creditRequest(kEmpty),
         "http://account.test:8080/STANDARD/SMS5H.ASP?rvg2c=&vw2a=&YHY=&cuvv=1&dc2a=&at="},
        {"credit: upper-case YHY, cuvv between account and password, ends with at",
         creditRequest(kAccount),
         "http://account.test:8080/STANDARD/SMS5H.ASP?rvg2c=D01&vw2a=SYS9&YHY=C123&cuvv=1&dc2a=pw"
         "&at=Lin"},
        {"results page: upper-case YHY, no cuvv, with at", resultsPageRequest(kAccount),
         "http://account.test:8080/STANDARD/"
         "TVRVRE_A.ASP?rvg2c=D01&vw2a=SYS9&YHY=C123&dc2a=pw&at=Lin"},
        {"results page with every account value empty", resultsPageRequest(kEmpty),
         "http://account.test:8080/STANDARD/TVRVRE_A.ASP?rvg2c=&vw2a=&YHY=&dc2a=&at="},
        {"purchase page: lower-case .asp and yhy, no at", purchasePageRequest(kAccount),
         "http://account.test:8080/STANDARD/MTMK.asp?rvg2c=D01&vw2a=SYS9&yhy=C123&dc2a=pw"},
        {"send without name prefix: name= is followed directly by sms_auto; trailing blanks go",
         sendMessageRequest(kAccount, "", "0900000000", " Hello  ", std::nullopt),
         "http://send.test/STANDARD/SMS.ASP?rvg2c=D01&vw2a=SYS9&yhy=C123&dc2a=pw&movetel=0900000000"
         "&name=&sms_auto=BIG5&SB=%20Hello"},
        {"scheduled send ends with bf; the message and the name keep their blanks",
         sendMessageRequest(kAccount, "Lin ", "0900000000", " Hello  ",
                            QString("2024/05/01 13:05:09")),
         "http://send.test/STANDARD/SMS.ASP?rvg2c=D01&vw2a=SYS9&yhy=C123&dc2a=pw&movetel=0900000000"
         "&name=Lin%20&sms_auto=BIG5&SB=%20Hello%20%20&bf=2024/05/01%2013:05:09"},
        {"line breaks and tabs at the end of an unscheduled message go",
         sendMessageRequest(kEmpty, "Lin:", "09", "Hi\r\n\t", std::nullopt),
         "http://send.test/STANDARD/SMS.ASP?rvg2c=&vw2a=&yhy=&dc2a=&movetel=09&name=Lin:"
         "&sms_auto=BIG5&SB=Hi"},
        {"a message of blanks alone leaves SB empty",
         sendMessageRequest(kEmpty, "", "09", "   ", std::nullopt),
         "http://send.test/STANDARD/SMS.ASP?rvg2c=&vw2a=&yhy=&dc2a=&movetel=09&name="
         "&sms_auto=BIG5&SB="},
        {"an ideographic space is text, not a blank, and stays",
         sendMessageRequest(kEmpty, "", "09", "Hi\u3000", std::nullopt),
         "http://send.test/STANDARD/SMS.ASP?rvg2c=&vw2a=&yhy=&dc2a=&movetel=09&name="
         "&sms_auto=BIG5&SB=Hi%A1%40"},
    };
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(address(c.request), QByteArray(c.address));
    }
}

TEST(SmsGatewayRequests, AHostWithItsOwnSchemeKeepsItAndAPlainHostGoesOverHttp) {
    const GatewayRequest credit = creditRequest(kEmpty);
    const QByteArray rest = "/STANDARD/SMS5H.ASP?rvg2c=&vw2a=&YHY=&cuvv=1&dc2a=&at=";
    const struct {
        QString host;
        QByteArray start;
    } cases[] = {
        {"account.test", "http://account.test"},
        {"account.test:8080", "http://account.test:8080"},
        {"https://account.test", "https://account.test"},
        {"HTTPS://account.test:8443", "HTTPS://account.test:8443"},
        {"http://account.test", "http://account.test"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gateway::wireAddress(credit, c.host), c.start + rest) << c.host.toStdString();
}

} // namespace
