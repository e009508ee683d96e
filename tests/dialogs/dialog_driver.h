#pragma once

#include "core/gbk_codec.h"
#include "lottery/lottery_data.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

// Every field set; rounds is left for sortPrizes.
inline lottery::PrizeRecord prize(const char* id, const QString& title, int order) {
    return {id, core::GbkCodec::fromQString(title), "gift.png", 6, 3, order, "X9", 2};
}

template <typename T> T* child(QWidget& parent, const QString& name) {
    auto* widget = parent.findChild<T*>(name);
    Q_ASSERT(widget);
    return widget;
}

inline void press(QWidget& parent, const QString& button) {
    child<QPushButton>(parent, button)->click();
}

// Each row of the table, its cells joined by separator.
inline QStringList rowsOf(const QTableWidget& table, const QString& separator = "|") {
    QStringList rows;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table.columnCount(); ++column)
            cells << table.item(row, column)->text();
        rows << cells.join(separator);
    }
    return rows;
}

// Each entry is "objectName=text" for one line edit.
inline void setEdits(QWidget& parent, const QStringList& edits) {
    for (const QString& edit : edits)
        child<QLineEdit>(parent, edit.section('=', 0, 0))->setText(edit.section('=', 1));
}

// Where a refused entry puts the focus: on the edit, with its text selected.
inline bool focusedAndSelected(QWidget& parent, const QString& edit) {
    auto* field = child<QLineEdit>(parent, edit);
    return parent.focusWidget() == field && field->selectedText() == field->text();
}

// Runs action on the modal T that the next call of exec() shows, from inside its event loop,
// so that a test can fill it in and close it.
template <typename T> void whenModalShows(std::function<void(T*)> action) {
    QTimer::singleShot(0, [action] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()))
            action(modal);
    });
}

// Whether trigger opens a modal T, which is then cancelled.
template <typename T> bool opensModal(const std::function<void()>& trigger) {
    bool opened = false;
    whenModalShows<T>([&opened](T* modal) {
        opened = true;
        modal->reject();
    });
    trigger();
    QTest::qWait(20); // the check runs before opened goes
    return opened;
}
