#include "calls/calllistwindow.h"

#include "calls/calllistmodel.h"
#include "support/messagebox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace quirlanto {

CallListWindow::CallListWindow(CallListModel &model, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(model)
    , m_search(new QLineEdit(this))
    , m_table(new QTableView(this))
{
    setObjectName(QStringLiteral("callListWindow"));
    setWindowTitle(QStringLiteral("Anrufliste"));
    auto *label = new QLabel(QStringLiteral("&Suchen:"), this);
    label->setBuddy(m_search);
    m_search->setObjectName(QStringLiteral("callSearch"));
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, &m_model, &CallListModel::setFilter);

    m_table->setObjectName(QStringLiteral("callTable"));
    m_table->setAccessibleName(QStringLiteral("Anrufe"));
    m_table->setAccessibleDescription(QStringLiteral("Neueste zuerst; Enter ruft zurück"));
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    // Every row the same height: the view need not measure 10,000 of them.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(CallListModel::Time,
                            fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000 00:00")) + 16);
    m_table->setColumnWidth(CallListModel::Name, fontMetrics().averageCharWidth() * 24);
    m_table->setColumnWidth(CallListModel::Number, fontMetrics().averageCharWidth() * 20);
    // Enter and double-click (activated) call back.
    connect(m_table, &QTableView::activated, this, &CallListWindow::callBack);

    const auto button = [this](const char *name, const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_callBack = button("callBackButton", QStringLiteral("&Zurückrufen"), &CallListWindow::callBack);
    m_addToRegister = button("addToRegisterButton", QStringLiteral("&Ins Register …"), &CallListWindow::addToRegister);
    m_delete = button("deleteCallButton", QStringLiteral("&Löschen"), &CallListWindow::deleteSelected);
    m_clear = button("clearListButton", QStringLiteral("Liste l&eeren"), &CallListWindow::clearList);
    QPushButton *close = button("closeButton", QStringLiteral("S&chließen"), &QWidget::close);

    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(label);
    searchRow->addWidget(m_search, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_callBack, m_addToRegister, m_delete, m_clear})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    m_table->setColumnWidth(CallListModel::Kind, fontMetrics().horizontalAdvance(QStringLiteral("Angenommen")) + 16);
    // Wide enough for every column and "Telefon-Programm" below the last heading.
    int columns = fontMetrics().horizontalAdvance(QStringLiteral("Telefon-Programm")) + 16 + 2 * m_table->frameWidth()
                  + m_table->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < CallListModel::DeviceOrDuration; ++column)
        columns += m_table->columnWidth(column);
    const QMargins margins = layout->contentsMargins();
    resize(columns + margins.left() + margins.right() + 8, fontMetrics().height() * 30);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CallListWindow::updateButtons);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, &CallListWindow::updateButtons);
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_model.rowCount() > 0)
            m_table->setCurrentIndex(m_model.index(0, 0));
        updateButtons();
    });
    if (m_model.rowCount() > 0)
        m_table->setCurrentIndex(m_model.index(0, 0));
    updateButtons();
}

CallRecord CallListWindow::selectedCall() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? m_model.record(current.row()) : CallRecord{};
}

void CallListWindow::updateButtons()
{
    const CallRecord call = selectedCall();
    m_callBack->setEnabled(!call.number.isEmpty());
    m_addToRegister->setEnabled(!call.number.isEmpty() && call.name.isEmpty());
    m_delete->setEnabled(call.id != 0);
    m_clear->setEnabled(m_model.rowCount() > 0);
}

void CallListWindow::callBack()
{
    const CallRecord call = selectedCall();
    if (!call.number.isEmpty())
        emit callBackRequested(call.number, call.name);
}

void CallListWindow::addToRegister()
{
    const CallRecord call = selectedCall();
    if (!call.number.isEmpty())
        emit addToRegisterRequested(call.number);
}

void CallListWindow::deleteSelected()
{
    const CallRecord call = selectedCall();
    if (call.id == 0)
        return;
    const int row = m_table->currentIndex().row();
    emit removeRequested(call.id);
    if (m_model.rowCount() > 0)
        m_table->setCurrentIndex(m_model.index(std::min(row, m_model.rowCount() - 1), 0));
}

void CallListWindow::clearList()
{
    if (m_model.rowCount() == 0)
        return;
    if (MessageBoxes::askYesNoTitled(this, QStringLiteral("Liste leeren"),
                                     QStringLiteral("Sollen wirklich alle Anrufe aus der Anrufliste gelöscht werden?")))
        emit clearRequested();
}

} // namespace quirlanto
