// The member window's search group, its grid and the title-click sort.
#include "db/dataset.h"
#include "db/dataset_model.h"
#include "db/display_text.h"
#include "db/field_binder.h"
#include "members/drop_down_box.h"
#include "members/grid_footer.h"
#include "members/grid_layout.h"
#include "members/member_search.h"
#include "members/member_window.h"
#include "members/minguo_date.h"
#include "members/sort_marker_header.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace search = members::search;

namespace {

struct GridColumn {
    const char* field;
    const char* title;
    int width;
};

// The member grid's columns, in their design order, titles and widths.
const GridColumn kGridColumns[] = {
    {"id", "編號", 90},
    {"name", "姓名", 80},
    {"Name1", "稱謂", 50},
    {"Tel", "電話", 100},
    {"CDTel", "行動電話", 100},
    {"HomeTel", "家裡電話", 100},
    {"Fax", "傳真", 100},
    {"Kind", "類別", 80},
    {"birthday", "", 80},
    {"b", "生日", 80},
    {"Identity", "身份証號", 100},
    {"EnterDate", "入會日期", 80},
    {"Address", "地址", 220},
    {"Memo", "備註一", 100},
    {"Memo1", "備註二", 100},
    {"Memo2", "備註三", 100},
    {"Memo3", "", 100},
    {"Memo4", "", 100},
    {"date1", "", 80},
};

QComboBox* dateBox(QWidget* parent, const char* name, int maxLength, int last) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->lineEdit()->setMaxLength(maxLength);
    for (int i = 1; i <= last; ++i)
        box->addItem(QStringLiteral("%1").arg(i, 2, 10, QChar('0')));
    box->setCurrentIndex(-1);
    box->setFixedWidth(70);
    return box;
}

} // namespace

QWidget* TFrmCust::buildSearchPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(buildSearchGroup());
    buildGrid();
    layout->addWidget(DBGridEh1, 1);
    layout->addWidget(m_footer);
    layout->setSpacing(0);
    return page;
}

QGroupBox* TFrmCust::buildSearchGroup() {
    auto* group = new QGroupBox(QStringLiteral("請選擇查詢條件"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("查詢條件"), group);
    label->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(group);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumWidth(120);
    connect(ComboBox1, &QComboBox::activated, this, &TFrmCust::chooseCriterion);

    m_valueRow = new QWidget(group);
    auto* values = new QHBoxLayout(m_valueRow);
    values->setContentsMargins(0, 0, 0, 0);
    ComboBox2 = new DropDownBox(m_valueRow);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    Label28 = new QLabel(QStringLiteral("~"), m_valueRow);
    Label28->setObjectName(QStringLiteral("Label28"));
    Edit1 = new QLineEdit(m_valueRow);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(100);
    values->addWidget(ComboBox2);
    values->addWidget(Label28);
    values->addWidget(Edit1);
    m_valueRow->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);

    Panel1 = new QWidget(group);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* dates = new QHBoxLayout(Panel1);
    dates->setContentsMargins(0, 0, 0, 0);
    ComboBox3 = dateBox(Panel1, "ComboBox3", 4, 0);
    ComboBox4 = dateBox(Panel1, "ComboBox4", 2, 12);
    ComboBox5 = dateBox(Panel1, "ComboBox5", 2, 31);
    dates->addWidget(ComboBox3);
    dates->addWidget(new QLabel(QStringLiteral("年"), Panel1));
    dates->addWidget(ComboBox4);
    dates->addWidget(new QLabel(QStringLiteral("月"), Panel1));
    dates->addWidget(ComboBox5);
    dates->addWidget(new QLabel(QStringLiteral("日"), Panel1));
    Panel1->hide();

    CheckBox1 = new QCheckBox(QStringLiteral("有效會員"), group);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    BitBtn1 = new QPushButton(QStringLiteral("查詢"), group);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmCust::search);

    row->addWidget(label);
    row->addWidget(ComboBox1);
    row->addWidget(m_valueRow);
    row->addWidget(Panel1);
    row->addWidget(CheckBox1);
    row->addWidget(BitBtn1);
    row->addStretch();

    // The quick search lists members while the user types part of a number,
    // a name or a telephone (say its last digits).
    auto* quickRow = new QHBoxLayout;
    auto* quickLabel = new QLabel(QStringLiteral("快速查詢"), group);
    quickLabel->setObjectName(QStringLiteral("LabelQuick"));
    EditQuick = new QLineEdit(group);
    EditQuick->setObjectName(QStringLiteral("EditQuick"));
    EditQuick->setPlaceholderText(QStringLiteral("編號、姓名或電話的一部分"));
    EditQuick->setClearButtonEnabled(true);
    EditQuick->setMinimumWidth(220);
    connect(EditQuick, &QLineEdit::textEdited, this, &TFrmCust::quickSearch);
    quickRow->addWidget(quickLabel);
    quickRow->addWidget(EditQuick);
    quickRow->addStretch();
    auto* rows = new QVBoxLayout(group);
    rows->addLayout(row);
    rows->addLayout(quickRow);
    return group;
}

void TFrmCust::buildGrid() {
    Dts_Master = new db::DatasetModel(Qry_Master, this);
    Dts_Master->setObjectName(QStringLiteral("Dts_Master"));
    QList<db::DatasetModel::Column> columns;
    QStringList fields;
    for (const GridColumn& column : kGridColumns) {
        columns.append({QLatin1String(column.field), QString::fromUtf8(column.title)});
        fields << QLatin1String(column.field);
    }
    Dts_Master->setColumns(columns);

    DBGridEh1 = new QTableView(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    m_header = new SortMarkerHeader(DBGridEh1);
    DBGridEh1->setHorizontalHeader(m_header);
    DBGridEh1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGridEh1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGridEh1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridEh1->setWordWrap(false);
    DBGridEh1->verticalHeader()->setDefaultSectionSize(20);
    DBGridEh1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Dts_Master->attachView(DBGridEh1);
    for (int i = 0; i < int(std::size(kGridColumns)); ++i)
        m_header->resizeSection(i, kGridColumns[i].width);
    m_gridLayout = std::make_unique<members::GridLayout>(DBGridEh1, m_header,
                                                         QStringLiteral("DBGridEh1"), fields);
    m_header->setSectionHidden(Dts_Master->columnOf(QStringLiteral("birthday")), true);
    // The stored birthday, when the layout shows it, in the form it is typed.
    Dts_Master->setFieldFormatter(QStringLiteral("birthday"), [](const QVariant& value) {
        const std::optional<QDateTime> when = db::storedDateTime(value);
        return when ? members::minguoText(when->date()) : value.toString();
    });
    connect(m_header, &QHeaderView::sectionClicked, this, &TFrmCust::sortByColumn);
    connect(DBGridEh1, &QAbstractItemView::doubleClicked, this,
            [this] { PageControl1->setCurrentWidget(TabSheet2); });

    m_footer = new GridFooter(m_header, this);
    m_footer->setObjectName(QStringLiteral("DBGridEh1Footer"));
    m_footer->setText(Dts_Master->columnOf(QStringLiteral("id")), QStringLiteral("共計﹕"));
}

void TFrmCust::fillYearList() {
    QStringList years;
    for (int year = 0; year <= 100; ++year)
        years << QStringLiteral("%1").arg(year, 2, 10, QChar('0'));
    db::FieldBinder::replaceItems(ComboBox3, years);
}

// Sets up the value inputs for the chosen criterion, then empties the value
// and the upper bound (the date boxes keep their texts).
void TFrmCust::chooseCriterion(int index) {
    const bool dates = index == search::Birthday || index == search::JoiningDate;
    Panel1->setVisible(dates);
    m_valueRow->setVisible(!dates);
    if (!dates) {
        const bool number = index == search::Number;
        Label28->setVisible(number);
        Edit1->setVisible(number);
    }
    switch (index) {
    case search::Number:
        ComboBox2->setPlain(true);
        ComboBox2->setFixedWidth(100);
        break;
    case search::Salutation:
        ComboBox2->setPlain(false);
        ComboBox2->setFixedWidth(185);
        ComboBox2->setList(search::salutations());
        break;
    case search::Category:
        ComboBox2->setPlain(false);
        ComboBox2->setList(search::categories());
        break;
    case search::Birthday:
    case search::JoiningDate:
        fillYearList();
        break;
    default:
        ComboBox2->setPlain(true);
        ComboBox2->setFixedWidth(185);
        break;
    }
    ComboBox2->clearEditText();
    Edit1->clear();
}

void TFrmCust::quickSearch(const QString& typed) {
    if (typed.trimmed().isEmpty())
        return;
    showStatement(search::quickSearchStatement(typed, CheckBox1->isChecked()));
}

// Lists the members the statement finds, in its order.
void TFrmCust::showStatement(const members::search::Statement& statement) {
    Qry_Master->close();
    Qry_Master->setStatement(statement.lines);
    Qry_Master->setParams(statement.params);
    m_header->clearMarkers(); // the new list comes in the statement's order
    Qry_Master->open();
    m_currentCustId =
        Qry_Master->isEmpty() ? QString() : Qry_Master->value(QStringLiteral("id")).toString();
}

void TFrmCust::search() {
    search::Input input;
    input.criterion = ComboBox1->currentIndex();
    input.value = ComboBox2->currentText();
    input.upper = Edit1->text();
    input.year = ComboBox3->currentText();
    input.month = ComboBox4->currentText();
    input.day = ComboBox5->currentText();
    const search::Bounds range = search::numberRange(input, search::memberNumberBounds());
    // The old list goes first, also when the criterion turns out unreadable.
    Qry_Master->close();
    showStatement(
        search::memberStatement(search::criterionClause(input, range), CheckBox1->isChecked()));
}

// Descending first, then alternating; the rows already listed are sorted in
// memory. Only the column the rows are sorted by shows a marker.
void TFrmCust::sortByColumn(int logicalIndex) {
    if (!Qry_Master->isOpen())
        return;
    const QString field = Dts_Master->fieldAt(logicalIndex);
    const bool ascending = m_header->marker(logicalIndex) == SortMarkerHeader::Descending;
    if (!Qry_Master->sortBy(field, ascending ? Qt::AscendingOrder : Qt::DescendingOrder))
        return;
    m_header->clearMarkers();
    m_header->setMarker(logicalIndex,
                        ascending ? SortMarkerHeader::Ascending : SortMarkerHeader::Descending);
    // Moving away and back shows the first member again; a photo that fails
    // to load on the way is reported, and the grid paints again all the same.
    DBGridEh1->setUpdatesEnabled(false);
    const auto repaint = qScopeGuard([this] { DBGridEh1->setUpdatesEnabled(true); });
    Qry_Master->next();
    Qry_Master->prior();
}
