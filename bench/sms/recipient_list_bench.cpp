// The send window's recipient list at size, through the real window
// offscreen over a register of 10,000 members: 全選 + 加入接收人 adding every
// member, and 刪除接收人 pressed 1,000 times, one selected line at a time.
#include "admin/login_session.h"
#include "bench/support/window_bench_main.h"
#include "db/connection.h"
#include "sms/gateway_config.h"
#include "sms/send_message_window.h"
#include "tests/sms/gateway_sim_process.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kMembers = 10000;
constexpr int kDeletions = 1000;

// Numbered members with ten family names, half 先生 and half 小姐, each with
// a mobile number of its own.
void fillMembers() {
    db::run(
        QStringLiteral(
            "with recursive n(i) as (select 0 union all select i + 1 from n where i < :last) "
            "insert into Cust (id, name, Name1, CDTel, isEnabled) "
            "select printf('%06d', i), substr('陳林黃張李王吳劉蔡楊', i % 10 + 1, 1) || '志明', "
            "case i % 2 when 0 then '小姐' else '先生' end, printf('0912%06d', i), 1 from n"),
        {{QStringLiteral("last"), kMembers - 1}});
}

// One register, one gateway simulator for the credit, one send window with
// every member found.
struct SendWindow {
    SendWindow() {
        const QString path = folder.filePath(QStringLiteral("db.sqlite"));
        db::createDatabase(path);
        db::setDatabasePath(path);
        QDir::setCurrent(folder.path());
        QFile ini(GatewayConfig::iniPath());
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Gateway]\nSendHost=" + sim.host().toUtf8() +
                      "\nAccountHost=" + sim.host().toUtf8() + "\n");
        ini.close();
        LoginSession::current() = LoginSession{};
        LoginSession::current().CustID = QStringLiteral("C123");
        fillMembers();
        window = std::make_unique<TFrmSendMessage>();
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
        auto* criteria = child<QComboBox>("ComboBox1");
        criteria->setCurrentIndex(0);
        emit criteria->activated(0);
        press("btnSearch");
        press("BtnSelectAll");
    }
    template <class T> T* child(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    void press(const char* button) { child<QPushButton>(button)->click(); }
    QListWidget* list() { return child<QListWidget>("ListBox1"); }
    // What the event loop does between two clicks: lay out and paint.
    void settle() {
        QCoreApplication::processEvents();
        list()->viewport()->repaint();
    }

    QTemporaryDir folder;
    GatewaySimProcess sim{{"--cust-id", "C123"}};
    std::unique_ptr<TFrmSendMessage> window;
};

std::unique_ptr<SendWindow> g_window;

SendWindow& shared() {
    if (!g_window)
        g_window = std::make_unique<SendWindow>();
    return *g_window;
}

// 全選 + 加入接收人 into an empty list, laid out and painted afterwards.
void BM_SelectAllAndAddTenThousand(benchmark::State& state) {
    SendWindow& w = shared();
    for (auto _ : state) {
        state.PauseTiming();
        w.press("BtnDelAll");
        state.ResumeTiming();
        w.press("BtnSelectAll");
        w.press("BitBtn1");
        w.settle();
    }
    state.counters["lines"] = w.list()->count();
    if (w.list()->count() != kMembers)
        state.SkipWithError("not every member was added");
}
BENCHMARK(BM_SelectAllAndAddTenThousand)->Unit(benchmark::kMillisecond)->Iterations(5);

// 1,000 deletions from the 10,000-line list, each of the top line selected
// first, the list laid out and painted after each.
void BM_DeleteThousandOneByOne(benchmark::State& state) {
    SendWindow& w = shared();
    for (auto _ : state) {
        state.PauseTiming();
        w.press("BtnDelAll");
        w.press("BtnSelectAll");
        w.press("BitBtn1");
        w.settle();
        state.ResumeTiming();
        for (int i = 0; i < kDeletions; ++i) {
            w.list()->setCurrentRow(0); // as a click on the top line does
            w.press("BtnDel");
            w.settle();
        }
    }
    state.counters["lines_left"] = w.list()->count();
    if (w.list()->count() != kMembers - kDeletions)
        state.SkipWithError("not every press deleted a line");
}
BENCHMARK(BM_DeleteThousandOneByOne)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return bench::runWindowBenchmarks(argc, argv, [] { g_window.reset(); });
}
