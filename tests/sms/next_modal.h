#pragma once

#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// Runs act on the next modal window as soon as it shows. Unlike
// whenModalShows, the window is left to act to close, so a test can end it
// the way a user would (say, with "選取", which accepts it).
void onNextModal(const std::function<void(QWidget*)>& act);

// A named part of a window, failing the test when there is none.
template <class T> T* part(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Clicks the named button of a window.
inline void press(QWidget* window, const char* button) {
    QTest::mouseClick(part<QPushButton>(window, button), Qt::LeftButton);
}
