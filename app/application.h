#pragma once

#include <QApplication>

// The application object. Its notify() is the general error report: an error
// that ends a user's action is shown in a message box with its own text, and
// the program goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The program's title, shown in the task bar and on the sign-in banner.
    static QString title();
};

// Shows an error's text as the general error report does.
void reportError(const QString& text);
