#include "app/application.h"

#include "app/errors.h"
#include "app/prompt.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Lunmark"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const LunmarkError& error) {
        reportError(error.text());
    } catch (const std::exception& error) {
        reportError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

QString Application::title() {
    return QStringLiteral("管理軟體");
}

void reportError(const QString& text) {
    Prompt::current().message(Prompt::Icon::Error, Application::title(), text);
}
