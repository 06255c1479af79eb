#include "app/application.h"
#include "base/message_table.h"

#include <gtest/gtest.h>

// Every Lunmark test program runs offscreen with the program's application
// object (so errors reach the general error report) and the Traditional texts.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    MessageTable::current().fill(MessageTable::TraditionalLocale);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
