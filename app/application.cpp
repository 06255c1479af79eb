#include "app/application.h"

#include "app/errors.h"
#include "app/message_table.h"
#include "app/prompt.h"

#include <QLibraryInfo>
#include <QTranslator>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Lunmark"));
    installQtTranslation();
}

QString Application::qtTranslationName(int localeId) {
    return localeId == MessageTable::SimplifiedLocale ? QStringLiteral("qtbase_zh_CN")
                                                      : QStringLiteral("qtbase_zh_TW");
}

// Qt's own texts (Yes and No, the file dialog, the print preview) in
// Chinese. Without Debian's translations installed they stay in English.
void Application::installQtTranslation() {
    auto* translator = new QTranslator(this);
    if (translator->load(qtTranslationName(systemLocaleId()),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        delete translator;
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
