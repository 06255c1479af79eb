#pragma once

#include <QApplication>

// The application object. Its notify() is the general error report: an error
// that ends a user's action is shown in a message box with its own text, and
// the program goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The name of Qt's own translation that goes with the system locale:
    // Simplified Chinese for zh_CN, Traditional Chinese for zh_TW and any
    // other locale (the program's own texts are Traditional).
    static QString qtTranslationName(int localeId);

private:
    void installQtTranslation();
};

// Shows an error's text as the general error report does.
void reportError(const QString& text);
