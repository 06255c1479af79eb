// Opening "select * from cust" over 100,000 members and sorting the rows in
// memory, as the member window does with a large register.
#include "bench/db/member_register.h"
#include "db/connection.h"
#include "db/dataset.h"

#include <benchmark/benchmark.h>

namespace {

void openRegister() {
    static bench::MemberRegister shared;
}

void BM_OpenAllMembers(benchmark::State& state) {
    openRegister();
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    for (auto _ : state) {
        members.open(QStringLiteral("select * from cust"));
        benchmark::DoNotOptimize(members.rowCount());
    }
    state.counters["rows"] = members.rowCount();
    state.counters["fields"] = members.fieldCount();
}
BENCHMARK(BM_OpenAllMembers)->Unit(benchmark::kMillisecond);

void BM_SortMembers(benchmark::State& state, const char* field) {
    openRegister();
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    members.open(QStringLiteral("select * from cust"));
    members.moveTo(bench::kMembers / 2);
    bool ascending = true;
    for (auto _ : state) {
        members.sortBy(QString::fromLatin1(field),
                       ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        ascending = !ascending;
        benchmark::DoNotOptimize(members.currentRow());
    }
    state.counters["rows"] = members.rowCount();
}
BENCHMARK_CAPTURE(BM_SortMembers, ByName, "name")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortMembers, ById, "id")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortMembers, ByMemo, "Memo")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortMembers, ByEnabledFlag, "isEnabled")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runBenchmarks(argc, argv);
}
