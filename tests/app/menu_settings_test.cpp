#include "app/main_window.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct IniCase {
    const char* contents; // nullptr: no lunmark.ini at all
    bool shown;
};

// The hidden document register and imports, by lunmark.ini beside the
// database.
TEST(MenuSettings, ShowHiddenShowsTheHiddenItems) {
    const IniCase cases[] = {
        {nullptr, false},
        {"[Gateway]\nSendHost=sms.example.com\n", false},
        {"[Menu]\nShowHidden=0\n", false},
        {"[Menu]\nShowHidden=yes\n", false},
        {"[Menu]\nShowHidden=1\n", true},
    };
    for (const IniCase& c : cases) {
        TempDatabase database;
        ScriptedPrompt prompt;
        if (c.contents != nullptr) {
            QFile ini(QDir(database.folder()).filePath(QStringLiteral("lunmark.ini")));
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(c.contents);
        }
        TFrmMain window;
        window.applyMenuSettings();
        for (const char* name : {"N1", "Excel1", "N5"}) {
            auto* item = window.findChild<QAction*>(QLatin1String(name));
            ASSERT_NE(item, nullptr) << name;
            EXPECT_EQ(item->isVisible(), c.shown) << name << " " << (c.contents ? c.contents : "");
        }
    }
}

} // namespace
