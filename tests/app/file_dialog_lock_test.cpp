// Every file dialog of the program, shown in the database's folder, must
// leave SQLite's locks alone: a second program then still sees this one
// holding the database, cannot delete the write-ahead log under it, and both
// see every member.
#include "app/main_window.h"
#include "base/errors.h"
#include "db/connection.h"
#include "db/file_dialog.h"
#include "tests/support/peer_process.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs inspect on the next modal window of class Window as soon as it is the
// active one, then closes it unless inspect did.
template <class Window> void whenShows(std::function<void(Window*)> inspect, int triesLeft = 500) {
    QTimer::singleShot(10, [inspect, triesLeft] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            if (triesLeft > 0)
                whenShows<Window>(inspect, triesLeft - 1);
            else
                ADD_FAILURE() << "the window never showed";
            return;
        }
        inspect(window);
        if (window->isVisible())
            window->reject();
    });
}

// A title a user can read: not empty, no English (the window manager would
// otherwise show the program's file name or "···").
// Names of file types stay as they are.
bool isChineseTitle(QString title) {
    static const QRegularExpression names(QStringLiteral(R"(\b(PDF|CSV|Excel)\b)"));
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    return !title.trimmed().isEmpty() && !title.remove(names).contains(latin);
}

void waitFor(const std::function<bool()>& done, int milliseconds = 5000) {
    const QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Looks at the database's folder in the dialog as a user does, every file
// listed with its icon and type. Files of other types than the dialog's are
// hidden, yet the dialog's model still learns about every file there.
void browse(QFileDialog* dialog, const QString& folder) {
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    bool loaded = false;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, dialog,
                     [&](const QString& path) { loaded = loaded || path == folder; });
    dialog->setDirectory(folder);
    waitFor([&] { return loaded; });
    EXPECT_TRUE(loaded) << "the dialog never listed the database's folder";
    const QModelIndex root = model->index(folder);
    for (int row = 0; row < model->rowCount(root); ++row) {
        for (int column = 0; column < model->columnCount(root); ++column) {
            model->index(row, column, root).data(Qt::DecorationRole);
            model->index(row, column, root).data(Qt::DisplayRole);
        }
    }
    // The model fetches icons and types on its own thread.
    QDeadlineTimer settle(400);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class FileDialogLockTest : public testing::Test {
protected:
    void SetUp() override {
        db::run(QStringLiteral("insert into Cust(id, name) values('A1', 'first')"));
        memberCount(); // this program now holds the database open
    }
    void TearDown() override {
        for (QMdiSubWindow* sub : window.mdiArea()->subWindowList())
            sub->close();
    }

    int memberCount() {
        QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust"));
        query.next();
        return query.value(0).toInt();
    }
    QAction* item(const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }
    // Shows the next file dialog in the database's folder, then cancels it.
    void browseNextFileDialog() {
        whenShows<QFileDialog>([this](QFileDialog* dialog) {
            EXPECT_TRUE(isChineseTitle(dialog->windowTitle()))
                << dialog->windowTitle().toStdString();
            // The file list shows a date and time whole.
            auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(list, nullptr);
            const QString date =
                filedialog::dateText(QDateTime(QDate(2026, 12, 28), QTime(20, 58)));
            EXPECT_GT(list->header()->sectionSize(3), list->fontMetrics().horizontalAdvance(date));
            browse(dialog, database.folder());
            ++dialogsShown;
        });
    }
    QWidget* memberWindow() {
        item("N7")->trigger();
        return window.mdiArea()->activeSubWindow()->widget();
    }
    QPushButton* button(QWidget* parent, const char* name) {
        return parent->findChild<QPushButton*>(QLatin1String(name));
    }

    TempDatabase database{db::Engine::Sqlite}; // the locks and files are SQLite's
    ScriptedPrompt prompt;
    TFrmMain window;
    int dialogsShown = 0;
};

struct DialogCase {
    const char* name;
    void (*show)(class FileDialogLockCases&);
};

class FileDialogLockCases : public FileDialogLockTest,
                            public testing::WithParamInterface<DialogCase> {
public:
    void importWindow() {
        whenShows<QDialog>([this](QDialog* importer) {
            browseNextFileDialog();
            button(importer, "btnExcel")->click();
        });
        item("N16")->trigger();
    }
    void menuEntry(const char* name) {
        browseNextFileDialog();
        item(name)->trigger();
    }
    void memberPhoto() {
        QWidget* members = memberWindow();
        button(members, "SbAdd")->click();
        browseNextFileDialog();
        button(members, "BtnSelectPhoto")->click();
        prompt.expect(QStringLiteral("要取消嗎﹖"), true);
        button(members, "SbCancel")->click();
    }
    void documentBrowse() {
        whenShows<QDialog>([this](QDialog* documents) {
            button(documents, "SbAdd")->click();
            browseNextFileDialog();
            button(documents, "BtnBrowse")->click();
            button(documents, "SbCancel")->click();
        });
        item("Office1")->trigger();
    }
    void pdfExport() {
        QWidget* members = memberWindow();
        whenShows<QPrintPreviewDialog>([this](QPrintPreviewDialog* preview) {
            EXPECT_TRUE(isChineseTitle(preview->windowTitle()))
                << preview->windowTitle().toStdString();
            browseNextFileDialog();
            preview->findChild<QAction*>(QStringLiteral("exportPdf"))->trigger();
        });
        button(members, "SbPreview")->click();
    }
};

TEST_P(FileDialogLockCases, DialogInTheDatabaseFolderKeepsTheLocks) {
    GetParam().show(*this);
    ASSERT_EQ(dialogsShown, 1);

    const QString owner = PeerProcess::run(database.path(), {QStringLiteral("lock-owner")});
    EXPECT_EQ(owner.toStdString(), std::to_string(QCoreApplication::applicationPid()))
        << "this program no longer holds its lock on the database";

    // The other program writes and closes: were our locks gone, it would
    // take itself for the last user and delete the log under us.
    PeerProcess::run(database.path(),
                     {QStringLiteral("add"), QStringLiteral("P"), QStringLiteral("5")});
    EXPECT_TRUE(QFileInfo::exists(database.path() + QStringLiteral("-wal")));
    EXPECT_EQ(memberCount(), 6);
    db::run(QStringLiteral("insert into Cust(id, name) values('A2', 'second')"));
    EXPECT_EQ(PeerProcess::run(database.path(), {QStringLiteral("count")}).toStdString(), "7");
}

TEST_F(FileDialogLockTest, ChoosingAFileOfTheDatabaseIsRefusedAndTheDialogShowsAgain) {
    int shown = 0;
    whenShows<QFileDialog>([&](QFileDialog* dialog) {
        ++shown;
        whenShows<QFileDialog>([&](QFileDialog*) { ++shown; }); // then cancelled
        dialog->selectFile(database.path() + QStringLiteral("-wal"));
        static_cast<QDialog*>(dialog)->accept(); // the Open button
    });
    prompt.expect(QStringLiteral("db.sqlite-wal 是會員資料庫本身的檔案"), true, true);
    EXPECT_TRUE(
        filedialog::openFile(&window, QStringLiteral("所有檔案 (*)"), database.folder()).isEmpty());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(prompt.shown().size(), 1);
}

const DialogCase kDialogs[] = {
    {"ImportWindow", [](FileDialogLockCases& t) { t.importWindow(); }},
    {"WorkbookMenuEntry", [](FileDialogLockCases& t) { t.menuEntry("Excel1"); }},
    {"TextImportMenuEntry", [](FileDialogLockCases& t) { t.menuEntry("N1"); }},
    {"MemberPhoto", [](FileDialogLockCases& t) { t.memberPhoto(); }},
    {"DocumentBrowse", [](FileDialogLockCases& t) { t.documentBrowse(); }},
    {"PdfExport", [](FileDialogLockCases& t) { t.pdfExport(); }},
};

INSTANTIATE_TEST_SUITE_P(EveryFileDialog, FileDialogLockCases, testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
