#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QLabel;
class QListView;

namespace quirlanto {

class RegisterDocument;

// Lower case without accents, and German spellings made one: "Müller", "Mueller" and "muller"
// all read "muller", "Weiß" and "Weiss" both "weis".
QString searchFolded(const QString &text);

// The entries of all cards whose name or number holds the typed text; a typed number is also
// read as the register stores it ("0171 2345" finds 491712345…).
class SearchHitModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Hit {
        int card = 0;
        int row = 0;
    };

    explicit SearchHitModel(const RegisterDocument &book, QObject *parent = nullptr);
    void setFilter(const QString &text);
    Hit hit(int index) const { return m_hits.value(index); }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_hits.size()); }
    QVariant data(const QModelIndex &index, int role) const override;

signals:
    // The register changed: the hits may point to other entries until filtered anew.
    void entriesChanged();

private:
    void rebuildIndex();

    const RegisterDocument &m_book;
    QList<QString> m_keys;      // folded "name number", all cards one after the other
    QList<QString> m_plainKeys; // the same with only case and accents folded
    QList<QString> m_numbers;   // their dial characters
    QList<Hit> m_places;
    QList<Hit> m_hits;
    bool m_indexStale = true;
};

// The search field above the cards (Ctrl+F, "&Suchen") with its list of hits.
class NameSearch : public QWidget {
    Q_OBJECT
public:
    explicit NameSearch(const RegisterDocument &book, QWidget *parent = nullptr);

    void open();

signals:
    // Enter or a double-click on a hit: that entry is to be dialed.
    void hitChosen(int card, int row);
    // Esc: the field has closed.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filter(const QString &text);
    void chooseCurrent();
    void close();

    SearchHitModel *m_model = nullptr;
    QLineEdit *m_field = nullptr;
    QListView *m_hits = nullptr;
    QLabel *m_noHits = nullptr;
    bool m_refilterQueued = false;
};

} // namespace quirlanto
