// The member window's search group, its grid and the title-click sort.
#include "db/dataset.h"
#include "db/dataset_model.h"
#include "db/display_text.h"
#include "db/field_binder.h"
#include "members/criterion_row.h"
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
    m_criteria = new members::CriterionRow({}, {}, group);
    m_criteria->criterionBox()->setMinimumWidth(120);

    CheckBox1 = new QCheckBox(QStringLiteral("有效會員"), group);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    BitBtn1 = new QPushButton(QStringLiteral("查詢"), group);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmCust::search);

    row->addWidget(label);
    row->addWidget(m_criteria);
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

void TFrmCust::quickSearch(const QString& typed) {
    if (typed.trimmed().isEmpty() || !confirmLeaveRow())
        return;
    showStatement(search::quickSearchStatement(typed, CheckBox1->isChecked()));
}

// Lists the members the statement finds, in its order.
void TFrmCust::showStatement(const members::search::Statement& statement) {
    m_restateSearch = nullptr;
    Qry_Master->close();
    Qry_Master->setStatement(statement.lines);
    Qry_Master->setParams(statement.params);
    m_header->clearMarkers(); // the new list comes in the statement's order
    Qry_Master->open();
    m_currentCustId =
        Qry_Master->isEmpty() ? QString() : Qry_Master->value(QStringLiteral("id")).toString();
}

void TFrmCust::search() {
    if (!confirmLeaveRow())
        return;
    const search::Input input = m_criteria->input();
    const bool active = CheckBox1->isChecked();
    // An empty number bound stands for the lowest or highest number stored
    // when the list is read, also when it is read again after an import.
    const auto statement = [input, active] {
        const search::Bounds range = search::numberRange(input, search::memberNumberBounds());
        return search::memberStatement(search::criterionClause(input, range), active);
    };
    // The old list goes first, also when the criterion turns out unreadable.
    Qry_Master->close();
    showStatement(statement());
    m_restateSearch = [this, statement] {
        const search::Statement again = statement();
        Qry_Master->setStatement(again.lines);
        Qry_Master->setParams(again.params);
    };
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
