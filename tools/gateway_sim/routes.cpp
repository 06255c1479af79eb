#include "routes.h"

#include "big5_text.h"
#include "escaping.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

using httplib::Request;
using httplib::Response;
using Expected = std::vector<std::pair<std::string, std::string>>;

// A query value as UTF-8; the client sends Big5.
std::string value(const Request& request, const std::string& key) {
    return big5_text::toUtf8(request.get_param_value(key));
}

// Every key present, spelt as given, with the expected value.
bool carries(const Request& request, const Expected& expected) {
    for (const auto& [key, wanted] : expected) {
        if (!request.has_param(key) || value(request, key) != wanted)
            return false;
    }
    return true;
}

// Plain answers go out in Big5, as the gateway's do, or in UTF-8 when asked.
void answerText(Response& response, const std::string& utf8, const SimOptions& o) {
    if (o.utf8Answers)
        return response.set_content(utf8, "text/plain; charset=utf-8");
    response.set_content(big5_text::fromUtf8(utf8), "text/plain; charset=big5");
}

void answerPage(Response& response, const std::string& title, const std::string& body) {
    response.set_content("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                             htmlText(title) + "</title></head>\n<body><h1>" + htmlText(title) +
                             "</h1>\n" + body + "</body></html>\n",
                         "text/html; charset=utf-8");
}

const char* const kRefused = "帳號或密碼錯誤";
const char* const kBadNumber = "電話號碼錯誤";

bool isNumber(const std::string& text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

SentMessage messageOf(const Request& request) {
    SentMessage message{value(request, "movetel"), value(request, "name"), value(request, "SB"),
                        std::nullopt, request.remote_port};
    if (request.has_param("bf"))
        message.schedule = value(request, "bf");
    return message;
}

// Closes the client's connection at once, before the server writes a byte:
// the socket is found by the client's port among the process's own.
void closeWithoutAnswer(const Request& request) {
    for (int fd = 3; fd < 4096; ++fd) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 &&
            peer.sin_family == AF_INET && ntohs(peer.sin_port) == request.remote_port) {
            ::shutdown(fd, SHUT_RDWR);
            return;
        }
    }
}

void onSend(const Request& request, Response& response, GatewayState& state, const SimOptions& o) {
    if (!carries(
            request,
            {{"rvg2c", o.suppId}, {"vw2a", o.systemId}, {"yhy", o.custId}, {"dc2a", o.custPwd}})) {
        return answerText(response, kRefused, o);
    }
    if (request.get_param_value("sms_auto") != "BIG5")
        return answerText(response, "sms_auto 必須是 BIG5", o);
    const SentMessage message = messageOf(request);
    if (!isNumber(message.phone))
        return answerText(response, kBadNumber, o);
    answerText(response, state.accept(message) ? "OK" : "點數不足", o);
}

void onCredit(const Request& request, Response& response, GatewayState& state,
              const SimOptions& o) {
    if (!carries(request, {{"rvg2c", o.suppId},
                           {"vw2a", o.systemId},
                           {"YHY", o.custId},
                           {"cuvv", "1"},
                           {"dc2a", o.custPwd},
                           {"at", o.custName}})) {
        return answerText(response, kRefused, o);
    }
    answerText(response, std::to_string(state.credit()), o);
}

void onResultsPage(const Request& request, Response& response, GatewayState& state,
                   const SimOptions& o) {
    if (!carries(request, {{"rvg2c", o.suppId},
                           {"vw2a", o.systemId},
                           {"YHY", o.custId},
                           {"dc2a", o.custPwd},
                           {"at", o.custName}})) {
        return answerPage(response, "簡訊發送結果", "<p>" + std::string(kRefused) + "</p>\n");
    }
    std::string rows = "<table border=\"1\">\n<tr><th>電話</th><th>名字</th><th>內容</th>"
                       "<th>預約</th></tr>\n";
    for (const SentMessage& m : state.sent()) {
        rows += "<tr><td>" + htmlText(m.phone) + "</td><td>" + htmlText(m.name) + "</td><td>" +
                htmlText(m.text) + "</td><td>" + htmlText(m.schedule.value_or("")) + "</td></tr>\n";
    }
    answerPage(response, "簡訊發送結果", rows + "</table>\n");
}

void onPurchasePage(const Request& request, Response& response, GatewayState& state,
                    const SimOptions& o) {
    if (!carries(
            request,
            {{"rvg2c", o.suppId}, {"vw2a", o.systemId}, {"yhy", o.custId}, {"dc2a", o.custPwd}})) {
        return answerPage(response, "購買點數", "<p>" + std::string(kRefused) + "</p>\n");
    }
    answerPage(response, "購買點數",
               "<p>簡訊剩餘通數：" + std::to_string(state.credit()) +
                   "</p>\n<p>這是模擬的閘道，不能購買點數。</p>\n");
}

const char* const kSendPath = "/STANDARD/SMS.ASP";

// Every answer waits, or only the listed send requests.
bool waits(const Request& request, GatewayState& state, const SimOptions& o) {
    if (o.delayMs <= 0)
        return false;
    if (o.slowMessages.empty())
        return true;
    return request.path == kSendPath && o.slowMessages.count(state.arrive()) > 0;
}

// The switches that play a slow, failing or vanishing gateway.
httplib::Server::HandlerResponse failures(const Request& request, Response& response,
                                          GatewayState& state, const SimOptions& o) {
    if (waits(request, state, o))
        std::this_thread::sleep_for(std::chrono::milliseconds(o.delayMs));
    if (o.takeThenClose && request.path == kSendPath) {
        state.accept(messageOf(request));
        closeWithoutAnswer(request);
        return httplib::Server::HandlerResponse::Handled;
    }
    if (o.drop) {
        // Promise a body and send none: the server closes the connection.
        response.set_content_provider(64, "text/plain",
                                      [](size_t, size_t, httplib::DataSink&) { return false; });
        return httplib::Server::HandlerResponse::Handled;
    }
    if (o.errorStatus != 0) {
        response.status = o.errorStatus;
        response.set_content("simulated status " + std::to_string(o.errorStatus) + "\n",
                             "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
}

} // namespace

void installRoutes(httplib::Server& server, GatewayState& state, const SimOptions& options) {
    server.set_pre_routing_handler([&state, &options](const Request& request, Response& response) {
        return failures(request, response, state, options);
    });
    const auto route = [&](const char* path, auto handler) {
        server.Get(path, [&state, &options, handler](const Request& request, Response& response) {
            handler(request, response, state, options);
        });
    };
    route(kSendPath, onSend);
    route("/STANDARD/SMS5H.ASP", onCredit);
    route("/STANDARD/TVRVRE_A.ASP", onResultsPage);
    route("/STANDARD/MTMK.asp", onPurchasePage);
}
