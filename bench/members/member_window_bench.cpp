// The member window over a register of 100,000 generated members, offscreen:
// the time from pressing 查詢 to the first screen of the grid painted, for a
// name search and for the all-members number range; the same for the
// quick-search box (target: under 100 ms); the time of a title
// click that sorts every listed member; and the resident memory with all
// 100,000 listed.
#include "app/application.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/member_window.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
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

QString memberName(int i) {
    static const QString family = QStringLiteral("陳林黃張李王吳劉蔡楊");
    static const QString given = QStringLiteral("志明美玲家豪淑芬建宏雅婷俊傑");
    return QString(family[i % family.size()]) + given[(i / 10) % given.size()] +
           given[(i / 7) % given.size()];
}

// Every member active, with most text columns filled as a real register has.
void fillMembers() {
    db::Transaction transaction;
    QSqlQuery insert(db::connection());
    insert.prepare(QStringLiteral(
        "insert into Cust (id, name, Name1, Tel, CDTel, HomeTel, Fax, Kind, birthday, "
        "MGBirthday, Identity, EnterDate, Address, Memo, Memo1, Memo2, date1, isEnabled) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)"));
    const QDate start(1950, 1, 1);
    for (int i = 0; i < kMembers; ++i) {
        const QDate birthday = start.addDays(i % 20000);
        const QString minguo = QStringLiteral("%1/%2")
                                   .arg(birthday.year() - 1911)
                                   .arg(birthday.toString(QStringLiteral("MM/dd")));
        insert.addBindValue(QStringLiteral("%1").arg(kMembers - i, 6, 10, QChar('0')));
        insert.addBindValue(memberName(i));
        insert.addBindValue(i % 2 ? QStringLiteral("先生") : QStringLiteral("小姐"));
        insert.addBindValue(QStringLiteral("02-2345-%1").arg(i % 10000, 4, 10, QChar('0')));
        insert.addBindValue(QStringLiteral("0912%1").arg(i, 6, 10, QChar('0')));
        insert.addBindValue(QStringLiteral("04-2222-%1").arg(i % 10000, 4, 10, QChar('0')));
        insert.addBindValue(QStringLiteral("02-8888-%1").arg(i % 10000, 4, 10, QChar('0')));
        insert.addBindValue(QStringLiteral("類別%1").arg(i % 12));
        insert.addBindValue(birthday.toString(QStringLiteral("yyyy-MM-dd 00:00:00")));
        insert.addBindValue(minguo);
        insert.addBindValue(QStringLiteral("A1%1").arg(i, 8, 10, QChar('0')));
        insert.addBindValue(minguo);
        insert.addBindValue(QStringLiteral("台北市中正區重慶南路一段%1號").arg(i % 300));
        insert.addBindValue(QStringLiteral("常客"));
        insert.addBindValue(QStringLiteral("介紹人%1").arg(i % 50));
        insert.addBindValue(QStringLiteral("備註"));
        insert.addBindValue(minguo);
        if (!insert.exec())
            db::raise(insert.lastError());
    }
    transaction.commit();
}

// One register and one member window for every benchmark of the run; the
// grid layout file goes to the register's folder.
struct Register {
    Register() {
        const QString path = folder.filePath(QStringLiteral("db.sqlite"));
        db::createDatabase(path);
        db::setDatabasePath(path);
        QDir::setCurrent(folder.path());
        fillMembers();
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

Register& shared() {
    if (!g_register)
        g_register = std::make_unique<Register>();
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

void BM_NameSearch(benchmark::State& state) {
    Register& r = shared();
    for (auto _ : state)
        r.search(1, QStringLiteral("陳"));
    state.counters["rows"] = r.window.memberQuery()->rowCount();
}
BENCHMARK(BM_NameSearch)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AllMembersNumberRange(benchmark::State& state) {
    Register& r = shared();
    for (auto _ : state)
        r.search(0, QString());
    state.counters["rows"] = r.window.memberQuery()->rowCount();
    state.counters["rss_MB"] = double(residentKilobytes()) / 1024.0;
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

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_register.reset(); // the window goes before the application object
    db::closeConnection();
    return 0;
}
