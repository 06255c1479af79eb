#include "app/application.h"
#include "base/program_title.h"

#include "base/errors.h"
#include "base/focus_frame_style.h"
#include "base/keyboard_navigation.h"
#include "base/message_table.h"
#include "base/prompt.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    Q_INIT_RESOURCE(app);
    setApplicationName(QStringLiteral("Lunmark"));
    // The desktop finds the launcher (and its icon) by this name.
    setDesktopFileName(QStringLiteral("lunmark"));
    QIcon icon;
    for (const char* size : {"48", "256"})
        icon.addFile(QStringLiteral(":/app/lunmark-%1.png").arg(QLatin1String(size)));
    setWindowIcon(icon);
    installQtTranslation();
    keyboard::installFilter();
    FocusFrameStyle::install();
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

void reportError(const QString& text) {
    Prompt::current().message(Prompt::Icon::Error, programTitle(), text);
}
