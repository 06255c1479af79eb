// The member window over a register of 100,000 generated members, offscreen:
// the time from pressing 查詢 to the first screen of the grid painted, for a
// name search and for the all-members number range; the same for the
// quick-search box, telephones typed or stored with dashes among them
// (target: under 100 ms); a saved search chosen from 常用查詢 beside the
// same search typed (target: within 1.1 times); the time of a title
// click that sorts every listed member; and the resident memory with all
// 100,000 listed.
//
// With LUNMARK_BENCH_POSTGRESQL naming an empty PostgreSQL database
// (postgresql://…), the name search and the all-members list run a second
// time on a register there, beside the SQLite figures of the same run
// (scripts/bench_engines.sh starts a throwaway server for that).
#include "bench/support/generated_members.h"
#include "bench/support/window_bench_main.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/dataset.h"
#include "members/member_window.h"
#include "members/saved_search.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kMembers = 100000;

// One register and one member window on an engine for the benchmarks of the
// run; the grid layout file goes to the register's folder.
struct Register {
    explicit Register(db::DatabaseTarget target) {
        if (target.engine == db::Engine::Sqlite)
            target.path = folder.filePath(QStringLiteral("db.sqlite"));
        db::createDatabase(target);
        db::setDatabaseTarget(target);
        QDir::setCurrent(folder.path());
        bench::insertMembers(kMembers, {.allActive = true, .fullRecords = true});
        window.resize(1280, 800);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    template <class T> T* child(const char* name) {
        return window.findChild<T*>(QLatin1String(name));
    }
    // Chooses the criterion and its value and presses 查詢, then paints the
    // grid's first screen.
    void search(int criterion, const QString& value) {
        auto* criteria = child<QComboBox>("ComboBox1");
        criteria->setCurrentIndex(criterion);
        emit criteria->activated(criterion);
        child<QComboBox>("ComboBox2")->setEditText(value);
        child<QPushButton>("BitBtn1")->click();
        paintGrid();
    }
    void paintGrid() { child<QTableView>("DBGridEh1")->viewport()->repaint(); }

    QTemporaryDir folder;
    TFrmCust window;
};

std::unique_ptr<Register> g_register;
db::Engine g_engine = db::Engine::Sqlite;

// The register of that engine; the other engine's goes first, with its
// window and its memory.
Register& shared(db::Engine engine = db::Engine::Sqlite) {
    if (g_register && g_engine != engine)
        g_register.reset();
    if (!g_register) {
        db::DatabaseTarget target;
        if (engine == db::Engine::Postgresql)
            target = db::parseDatabaseArgument(qEnvironmentVariable("LUNMARK_BENCH_POSTGRESQL"));
        g_engine = engine;
        g_register = std::make_unique<Register>(target);
    }
    return *g_register;
}

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void nameSearch(benchmark::State& state, db::Engine engine) {
    Register& r = shared(engine);
    for (auto _ : state)
        r.search(1, QStringLiteral("陳"));
    state.counters["rows"] = r.window.memberQuery()->rowCount();
}

void allMembersNumberRange(benchmark::State& state, db::Engine engine) {
    Register& r = shared(engine);
    for (auto _ : state)
        r.search(0, QString());
    state.counters["rows"] = r.window.memberQuery()->rowCount();
    state.counters["rss_MB"] = double(residentKilobytes()) / 1024.0;
}

void BM_NameSearch(benchmark::State& state) {
    nameSearch(state, db::Engine::Sqlite);
}
BENCHMARK(BM_NameSearch)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AllMembersNumberRange(benchmark::State& state) {
    allMembersNumberRange(state, db::Engine::Sqlite);
}
BENCHMARK(BM_AllMembersNumberRange)->Unit(benchmark::kMillisecond)->Iterations(5);

// The quick-search box: the last character typed, then the grid's first
// screen painted. The last four digits of a telephone find the few members
// sharing them; a family name finds a tenth of the register.
void quickSearch(benchmark::State& state, const QString& typed) {
    Register& r = shared();
    auto* quick = r.child<QLineEdit>("EditQuick");
    for (auto _ : state) {
        quick->setText(typed.chopped(1));
        QTest::keyClick(quick, typed.back().toLatin1() != 0 ? typed.back().toLatin1() : 'x');
        r.paintGrid();
    }
    state.counters["rows"] = r.window.memberQuery()->rowCount();
}

void BM_QuickSearchLastDigits(benchmark::State& state) {
    quickSearch(state, QStringLiteral("0042"));
}
BENCHMARK(BM_QuickSearchLastDigits)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_QuickSearchMemberNumber(benchmark::State& state) {
    quickSearch(state, QStringLiteral("054321"));
}
BENCHMARK(BM_QuickSearchMemberNumber)->Unit(benchmark::kMillisecond)->Iterations(10);

// Digits that span a dash of the stored telephones (02-2345-0042), and a
// mobile typed with dashes where it is stored without: both sides are read
// without their marks.
void BM_QuickSearchAcrossDashes(benchmark::State& state) {
    quickSearch(state, QStringLiteral("3450042"));
}
BENCHMARK(BM_QuickSearchAcrossDashes)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_QuickSearchTypedWithDashes(benchmark::State& state) {
    quickSearch(state, QStringLiteral("0912-012-34"));
}
BENCHMARK(BM_QuickSearchTypedWithDashes)->Unit(benchmark::kMillisecond)->Iterations(10);

// One click on the name title: every listed member sorted, the grid painted.
void BM_TitleClickSort(benchmark::State& state) {
    Register& r = shared();
    r.search(0, QString());
    auto* grid = r.child<QTableView>("DBGridEh1");
    QHeaderView* titles = grid->horizontalHeader();
    const int section = 1; // name
    const QPoint point(titles->sectionViewportPosition(section) + 10, titles->height() / 2);
    for (auto _ : state) {
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, point);
        r.paintGrid();
    }
    state.counters["rows"] = r.window.memberQuery()->rowCount();
    state.counters["rss_MB"] = double(residentKilobytes()) / 1024.0;
}
BENCHMARK(BM_TitleClickSort)->Unit(benchmark::kMillisecond)->Iterations(5);

// A saved name search chosen from 常用查詢 to the first screen (the list read
// again as it drops down), timed beside the same search typed and run with
// 查詢 (target: saved_over_typed within 1.1).
void BM_SavedSearchVersusTyped(benchmark::State& state) {
    Register& r = shared();
    members::saved::SavedSearch search;
    search.name = QStringLiteral("陳姓會員");
    search.input.criterion = members::search::Name;
    search.input.value = QStringLiteral("陳");
    members::saved::saveSearch(search, true);
    auto* box = r.child<QComboBox>("ComboSaved");
    double typed = 0;
    double saved = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        r.search(members::search::Name, QStringLiteral("陳"));
        typed += double(timer.nsecsElapsed());
        timer.restart();
        box->showPopup();
        box->hidePopup();
        const int index = box->findText(search.name);
        box->setCurrentIndex(index);
        emit box->activated(index);
        r.paintGrid();
        const double elapsed = double(timer.nsecsElapsed());
        saved += elapsed;
        state.SetIterationTime(elapsed / 1e9);
    }
    state.counters["rows"] = r.window.memberQuery()->rowCount();
    state.counters["typed_ms"] = typed / double(state.iterations()) / 1e6;
    state.counters["saved_over_typed"] = saved / typed;
}
BENCHMARK(BM_SavedSearchVersusTyped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The same two searches on PostgreSQL, run last so that the SQLite figures
// above come from the same kind of register.
void BM_NameSearchPostgresql(benchmark::State& state) {
    nameSearch(state, db::Engine::Postgresql);
}

void BM_AllMembersNumberRangePostgresql(benchmark::State& state) {
    allMembersNumberRange(state, db::Engine::Postgresql);
}

void registerPostgresqlBenchmarks() {
    if (qEnvironmentVariableIsEmpty("LUNMARK_BENCH_POSTGRESQL"))
        return;
    benchmark::RegisterBenchmark("BM_NameSearchPostgresql", BM_NameSearchPostgresql)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_AllMembersNumberRangePostgresql",
                                 BM_AllMembersNumberRangePostgresql)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
}

} // namespace

int main(int argc, char** argv) {
    registerPostgresqlBenchmarks();
    return bench::runWindowBenchmarks(argc, argv, [] { g_register.reset(); });
}
