#include "app/help_window.h"

#include "app/user_guide.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int FileRole = Qt::UserRole;
constexpr int FindRole = Qt::UserRole + 1; // the text to show on the page

const QString helpName = QStringLiteral("FrmHelp");
constexpr int pictureWidth = 600; // wider screenshots are shown smaller

// A picture of the page as loaded, whatever form the document keeps it in.
QImage pictureOf(QTextDocument* document, const QString& name) {
    const QVariant resource = document->resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.typeId() == QMetaType::QByteArray)
        return QImage::fromData(resource.toByteArray());
    return resource.value<QImage>();
}

// Shows every picture wider than pictureWidth at that width, so that a page
// reads without scrolling sideways.
void fitPictures(QTextBrowser* page) {
    QTextDocument* document = page->document();
    QList<std::pair<QTextFragment, QTextImageFormat>> wide;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat picture = it.fragment().charFormat().toImageFormat();
            if (!picture.isValid())
                continue;
            const QImage image = pictureOf(document, picture.name());
            if (image.width() > pictureWidth)
                wide.append({it.fragment(), picture});
        }
    for (auto [fragment, picture] : wide) {
        const QImage image = pictureOf(document, picture.name());
        picture.setWidth(pictureWidth);
        picture.setHeight(double(image.height()) * pictureWidth / image.width());
        QTextCursor cursor(document);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture);
    }
}

} // namespace

TFrmHelp::TFrmHelp(QWidget* parent) : QWidget(parent, Qt::Window), m_folder(guide::folder()) {
    setObjectName(helpName);
    setWindowTitle(QStringLiteral("使用說明"));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("HelpSearch"));
    m_search->setPlaceholderText(QStringLiteral("搜尋使用說明"));
    m_search->setClearButtonEnabled(true);
    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setHeaderLabel(QStringLiteral("目錄"));
    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("HelpResults"));
    m_results->hide();
    m_page = new QTextBrowser(this);
    m_page->setObjectName(QStringLiteral("HelpPage"));
    m_page->setOpenExternalLinks(false);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(m_search);
    sideLayout->addWidget(m_results);
    sideLayout->addWidget(m_contents);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(m_page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 680});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(960, 680);

    // Esc closes the guide as it closes the program's other windows.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    connect(m_contents, &QTreeWidget::itemActivated, this, &TFrmHelp::contentsClicked);
    connect(m_contents, &QTreeWidget::itemClicked, this, &TFrmHelp::contentsClicked);
    connect(m_search, &QLineEdit::textChanged, this, &TFrmHelp::searchChanged);
    connect(m_results, &QListWidget::itemActivated, this, &TFrmHelp::resultChosen);
    connect(m_results, &QListWidget::itemClicked, this, &TFrmHelp::resultChosen);

    if (m_folder.isEmpty()) {
        m_page->setPlainText(QStringLiteral("找不到使用說明的檔案。\n"
                                            "請重新安裝 lunmark 套件﹐或向安裝程式的人詢問。"));
        m_search->setEnabled(false);
        return;
    }
    m_page->setSearchPaths({m_folder});
    fillContents();
}

void TFrmHelp::fillContents() {
    for (const guide::Page& page : guide::pages(m_folder)) {
        auto* item = new QTreeWidgetItem(m_contents, {page.title});
        item->setData(0, FileRole, page.file);
        for (const QString& section : guide::sections(QDir(m_folder).filePath(page.file))) {
            auto* child = new QTreeWidgetItem(item, {section});
            child->setData(0, FileRole, page.file);
            child->setData(0, FindRole, section);
        }
    }
}

void TFrmHelp::showPage(const QString& file) {
    if (m_folder.isEmpty())
        return;
    const QUrl url = QUrl::fromLocalFile(QDir(m_folder).filePath(file));
    if (m_page->source() != url) {
        m_page->setSource(url, QTextDocument::MarkdownResource);
        fitPictures(m_page);
    }
    m_page->moveCursor(QTextCursor::Start);
    for (int i = 0; i < m_contents->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_contents->topLevelItem(i);
        if (item->data(0, FileRole).toString() == file) {
            m_contents->setCurrentItem(item);
            item->setExpanded(true);
        }
    }
}

QString TFrmHelp::currentPage() const {
    return QFileInfo(m_page->source().toLocalFile()).fileName();
}

void TFrmHelp::contentsClicked(QTreeWidgetItem* item) {
    showPage(item->data(0, FileRole).toString());
    const QString section = item->data(0, FindRole).toString();
    if (!section.isEmpty())
        m_page->find(section);
}

void TFrmHelp::searchChanged(const QString& words) {
    m_results->clear();
    const QList<guide::Hit> hits = guide::search(m_folder, words);
    m_results->setVisible(!words.trimmed().isEmpty());
    if (m_results->isVisible() && hits.isEmpty())
        m_results->addItem(QStringLiteral("找不到「%1」").arg(words.trimmed()));
    for (const guide::Hit& hit : hits) {
        const QString where = hit.section.isEmpty()
                                  ? hit.title
                                  : QStringLiteral("%1 › %2").arg(hit.title, hit.section);
        auto* item =
            new QListWidgetItem(QStringLiteral("%1\n%2").arg(where, hit.excerpt), m_results);
        item->setData(FileRole, hit.file);
        item->setData(FindRole, words.trimmed().split(QLatin1Char(' ')).first());
    }
}

void TFrmHelp::resultChosen() {
    const QListWidgetItem* item = m_results->currentItem();
    if (!item || item->data(FileRole).toString().isEmpty())
        return;
    showPage(item->data(FileRole).toString());
    m_page->find(item->data(FindRole).toString());
}

TFrmHelp* TFrmHelp::openFor(QWidget* focus, QWidget* mainWindow) {
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner->objectName() == helpName)
        owner = mainWindow;
    const QString page = guide::pageFor(focus);
    auto* help = owner->findChild<TFrmHelp*>(helpName, Qt::FindDirectChildrenOnly);
    const bool fromHelp = focus && focus->window() == help;
    if (!help)
        help = new TFrmHelp(owner);
    if (!fromHelp || help->currentPage().isEmpty())
        help->showPage(page);
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

namespace {

// Watches every key press of the program for a plain F1.
class HelpKey : public QObject {
public:
    explicit HelpKey(QWidget* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        QWidget* focus = QApplication::focusWidget();
        if (!focus)
            focus = qobject_cast<QWidget*>(watched);
        TFrmHelp::openFor(focus, m_mainWindow);
        return true;
    }

private:
    QWidget* m_mainWindow;
};

} // namespace

void installHelpKey(QWidget* mainWindow) {
    qApp->installEventFilter(new HelpKey(mainWindow));
}
