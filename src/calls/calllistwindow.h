#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTableView;

namespace quirlanto {

class CallListModel;
struct CallRecord;

// The window "Anrufliste": every call, newest first, with a search over names and numbers.
class CallListWindow final : public QWidget {
    Q_OBJECT
public:
    explicit CallListWindow(CallListModel &model, QWidget *parent = nullptr);

    QTableView *table() const { return m_table; }
    QLineEdit *searchField() const { return m_search; }
    // The selected row's call, or one with id 0.
    CallRecord selectedCall() const;

    void callBack();
    void addToRegister();
    void deleteSelected();
    void clearList();

signals:
    // A number in international form, with the register's name when it had one.
    void callBackRequested(const QString &internationalNumber, const QString &name);
    void addToRegisterRequested(const QString &internationalNumber);
    void removeRequested(qint64 id);
    void clearRequested();

private:
    void updateButtons();

    CallListModel &m_model;
    QLineEdit *m_search;
    QTableView *m_table;
    QPushButton *m_callBack;
    QPushButton *m_addToRegister;
    QPushButton *m_delete;
    QPushButton *m_clear;
};

} // namespace quirlanto
